#pragma once

#include <QByteArray>
#include <QList>

// One command cut out of a client's byte stream.
struct FramedCommand
{
    enum Kind {
        Text,          // "/<body>;": body holds the text between "/" and ";"
        CardSelect,    // "USER/<I|O>/<port>:086<slot>%;"
        AddressChange, // "USER/<I|O>/<port>:" four raw address bytes "%;"
        Invalid        // bytes that form no command, up to the next ";"
    };
    Kind kind = Invalid;
    QByteArray body;   // Text: the body; Invalid: the dropped bytes
    char side = 0;     // 'I' or 'O' for the USER commands
    int port = 0;      // 1-based port of the USER commands
    int slot = 0;      // CardSelect: 1-based slot number
    quint8 address[4] = {0, 0, 0, 0};
};

// Cuts complete commands off the front of a buffer, leaving a partial command in place.
// Text commands end at ";". The two USER commands carry raw bytes that may include ";" and are
// framed by their layout instead: after "USER/<side>/<port>:" either "086<slot>%;" or exactly four
// address bytes and "%;". "086" plus one digit also reads as four address bytes; it is a card
// selection when the digit is the slot of the port (4 ports a slot), an address change otherwise.
class MatrixCommandFramer
{
public:
    // Longest command kept while waiting for its terminator; longer input is dropped as Invalid.
    static constexpr int MaxCommandLength = 512;

    static QList<FramedCommand> take(QByteArray& buffer);

private:
    enum class Result { Complete, NeedMore, Invalid };
    static Result takeUser(const QByteArray& buffer, FramedCommand& command, int& length);
};
