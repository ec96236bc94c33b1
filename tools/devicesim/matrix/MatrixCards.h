#pragma once

#include <QHostAddress>
#include <QList>
#include <QString>

// The card slotCount of a simulated matrix (one letter per four ports, as the card lists report them)
// and the loopback addresses of its IP input cards (two network processors each) and preview
// output cards. Address scheme: IP processors 127.0.0.11 upwards (or from another first
// address), preview cards 127.0.0.101 upwards, both in slot order (at most 80 and 40 of them, so
// the two default ranges never meet).
class MatrixCards
{
public:
    static constexpr char IpInputLetter = 'f';
    static constexpr char PreviewOutputLetter = 'e';
    static constexpr char EmptySlotLetter = '*';

    // firstIp: address of the first IP processor; null for 127.0.0.11.
    MatrixCards(int model, const QString& inLetters, const QString& outLetters,
                const QHostAddress& firstIp = QHostAddress());

    // Letter strings with exactly model / 4 letters: empty input gives a default mix, a short
    // string is filled with empty slotCount, a long one is cut.
    QString inLetters() const { return in; }
    QString outLetters() const { return out; }

    // Letter of the slot holding a 1-based port; 0 for a port outside the matrix.
    char inLetterOfPort(int port) const;
    char outLetterOfPort(int port) const;
    bool hasInputCard(int port) const;
    bool hasOutputCard(int port) const;

    // Settings a card has (a card without one refuses its commands). Audio: every input but 4K
    // fibre. Picture levels: every input but SDI (the SDI half of an HDMI&SDI card too). Steps:
    // every output but SDI (and the SDI half), 4K HDMI, 4K fibre and 4K HDBT. EDID: HDMI, DVI,
    // HDBT, 4K HDMI and the HDMI halves of the mixed cards on both sides, and the even-numbered
    // ports of 4K HDBT cards.
    enum class Feature { Audio, PictureLevels, Steps, Edid };
    bool inputHas(int port, Feature feature) const;
    bool outputHas(int port, Feature feature) const;

    // Addresses, in slot order; the IP list holds the two processors of each card in turn.
    QList<QHostAddress> ipAddresses() const { return ipProcessors; }
    QList<QHostAddress> previewAddresses() const { return previews; }

    // Address of one processor (0 or 1) of the IP card in a 1-based slot; null when none.
    QHostAddress ipAddress(int slot, int processor) const;
    QHostAddress previewAddress(int slot) const;
    bool setIpAddress(int slot, int processor, const QHostAddress& address);
    // By position in ipAddresses(); false when there is no such processor.
    bool setIpAddressAt(int index, const QHostAddress& address);
    bool setPreviewAddress(int slot, const QHostAddress& address);

    static QString defaultInLetters(int slotCount);
    static QString defaultOutLetters(int slotCount);

private:
    int ipIndex(int slot) const;      // index into ipProcessors of the card's first processor
    int previewIndex(int slot) const;

    QString in;
    QString out;
    QList<QHostAddress> ipProcessors;
    QList<QHostAddress> previews;
};
