#include "Escapes.h"

namespace Escapes {

QByteArray decode(const QString& text)
{
    const QByteArray in = text.toUtf8();
    QByteArray out;
    out.reserve(in.size());
    for (int i = 0; i < in.size(); ++i) {
        const char c = in.at(i);
        if (c != '\\' || i + 1 >= in.size()) {
            out.append(c);
            continue;
        }
        const char next = in.at(++i);
        switch (next) {
        case 'r': out.append('\r'); break;
        case 'n': out.append('\n'); break;
        case 't': out.append('\t'); break;
        case 's': out.append(' '); break;
        case '\\': out.append('\\'); break;
        case 'x': {
            bool ok = false;
            const int value = in.mid(i + 1, 2).toInt(&ok, 16);
            if (ok && i + 2 < in.size()) {
                out.append(char(value));
                i += 2;
            } else {
                out.append("\\x");
            }
            break;
        }
        default:
            out.append('\\');
            out.append(next);
        }
    }
    return out;
}

QString encode(const QByteArray& bytes)
{
    QString out;
    for (const char c : bytes) {
        const uchar u = uchar(c);
        if (c == '\r')
            out += QLatin1String("\\r");
        else if (c == '\n')
            out += QLatin1String("\\n");
        else if (c == '\\')
            out += QLatin1String("\\\\");
        else if (u <= 0x20 || u >= 0x7f)
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else
            out += QLatin1Char(c);
    }
    return out;
}

} // namespace Escapes
