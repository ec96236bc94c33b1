#include "MatrixCommandFramer.h"

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

const QByteArray kUserPrefix("USER/");
const QByteArray kCardTail("%;");
const QByteArray kSelectMark("086");

// Compares what is available of buffer at pos with expected; true while it could still match.
bool couldMatch(const QByteArray& buffer, int pos, const QByteArray& expected)
{
    const int n = qMin(expected.size(), buffer.size() - pos);
    return n <= 0 || buffer.mid(pos, n) == expected.left(n);
}

} // namespace

QList<FramedCommand> MatrixCommandFramer::take(QByteArray& buffer)
{
    QList<FramedCommand> commands;
    for (;;) {
        int start = 0;
        while (start < buffer.size() && isBlank(buffer.at(start)))
            ++start;
        buffer.remove(0, start);
        if (buffer.isEmpty())
            break;

        FramedCommand command;
        int length = 0;
        Result result = Result::Invalid;
        if (couldMatch(buffer, 0, kUserPrefix)) {
            result = buffer.size() < kUserPrefix.size() ? Result::NeedMore : takeUser(buffer, command, length);
        } else if (buffer.at(0) == '/') {
            const int end = buffer.indexOf(';');
            if (end >= 0) {
                command.kind = FramedCommand::Text;
                command.body = buffer.mid(1, end - 1);
                length = end + 1;
                result = Result::Complete;
            } else {
                result = Result::NeedMore;
            }
        }

        if (result == Result::NeedMore) {
            if (buffer.size() <= MaxCommandLength)
                break;
            result = Result::Invalid;
        }
        if (result == Result::Invalid) {
            // Resynchronise at the next terminator; without one, drop everything held.
            const int end = buffer.indexOf(';');
            if (end < 0 && buffer.size() <= MaxCommandLength)
                break;
            length = end >= 0 ? end + 1 : buffer.size();
            command = FramedCommand();
            command.kind = FramedCommand::Invalid;
            command.body = buffer.left(length);
        }
        commands.append(command);
        buffer.remove(0, length);
    }
    return commands;
}

MatrixCommandFramer::Result MatrixCommandFramer::takeUser(const QByteArray& buffer, FramedCommand& command,
                                                        int& length)
{
    int pos = kUserPrefix.size();
    if (pos >= buffer.size())
        return Result::NeedMore;
    const char side = buffer.at(pos);
    if (side != 'I' && side != 'O')
        return Result::Invalid;
    if (++pos >= buffer.size())
        return Result::NeedMore;
    if (buffer.at(pos) != '/')
        return Result::Invalid;
    ++pos;

    int port = 0;
    int digits = 0;
    while (pos < buffer.size() && isDigit(buffer.at(pos)) && digits < 3) {
        port = port * 10 + (buffer.at(pos) - '0');
        ++pos;
        ++digits;
    }
    if (pos >= buffer.size())
        return Result::NeedMore;
    if (digits == 0 || buffer.at(pos) != ':')
        return Result::Invalid;
    const int payload = pos + 1;
    const int available = buffer.size() - payload;

    command.side = side;
    command.port = port;
    const int portSlot = port >= 1 ? (port - 1) / 4 + 1 : 0;

    // Four bytes then "%;": an address, unless it spells the selection of the port's own slot.
    if (available >= 6 && buffer.mid(payload + 4, 2) == kCardTail) {
        const bool select = buffer.mid(payload, 3) == kSelectMark && isDigit(buffer.at(payload + 3))
                            && buffer.at(payload + 3) - '0' == portSlot;
        if (select) {
            command.kind = FramedCommand::CardSelect;
            command.slot = portSlot;
        } else {
            command.kind = FramedCommand::AddressChange;
            for (int i = 0; i < 4; ++i)
                command.address[i] = quint8(buffer.at(payload + i));
        }
        length = payload + 6;
        return Result::Complete;
    }

    // Otherwise only a selection with a slot number of two or three digits fits.
    if (!couldMatch(buffer, payload, kSelectMark))
        return available < 6 ? Result::NeedMore : Result::Invalid;
    if (available < 6)
        return Result::NeedMore;
    pos = payload + kSelectMark.size();
    int slot = 0;
    digits = 0;
    while (pos < buffer.size() && isDigit(buffer.at(pos)) && digits < 3) {
        slot = slot * 10 + (buffer.at(pos) - '0');
        ++pos;
        ++digits;
    }
    if (!couldMatch(buffer, pos, kCardTail))
        return Result::Invalid;
    if (buffer.size() - pos < kCardTail.size())
        return Result::NeedMore;
    command.kind = FramedCommand::CardSelect;
    command.slot = slot;
    length = pos + kCardTail.size();
    return Result::Complete;
}
