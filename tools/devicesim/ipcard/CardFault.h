#pragma once

// A misbehaviour that a simulated card shows on its next matching request(s), set through the
// control port: "<kind> [value] [on <class>/<command>] [times <n>|always]".
//   result <code>   reply with this result byte and no body (request not carried out)
//   silence         no reply (request not carried out)
//   close | reset   drop the connection (reset: with a TCP reset) instead of replying
//   late <ms>       carry the request out, reply after ms
//   wrongid         carry it out, reply with another request id
//   truncate <n>    carry it out, send only the reply's first n bytes, stay connected
//   cut <n>         as truncate, then close the connection
//   bodylen <n>     carry it out, announce a body of n bytes in the header, send the real body
//   garbage <n>     send n bytes of noise instead of a reply (request not carried out)
//   split <ms>      carry it out, send the reply's first 10 bytes now and the rest after ms
//   babble <ms>     for ms, send one byte and then, every 10 ms, a reply to another request (no
//                   body): the reader always holds part of a header and never this request's
//                   reply (request not carried out)
//   latebody <ms>   refuse with result 3 and a 9-byte body that follows the header after ms
//                   (request not carried out)

#include <QStringList>

struct CardFault
{
    enum Kind { Result, Silence, Close, Reset, Late, WrongId, Truncate, Cut, BodyLength, Garbage, Split, Babble, LateBody };

    Kind kind = Result;
    int value = 0;
    int msgClass = -1;     // -1: any
    int msgCommand = -1;   // -1: any
    int remaining = 1;     // -1: always

    bool matches(int requestClass, int requestCommand) const;
    // True when the request is answered by the fault alone, not carried out.
    bool replacesRequest() const;

    static bool parse(const QStringList& words, CardFault* fault, QString* error);
};
