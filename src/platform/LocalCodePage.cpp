#include "platform/LocalCodePage.h"

#include <QTextCodec>

namespace LocalCodePage {

namespace {
QTextCodec* deviceCodec()
{
    // Qt keeps its codecs for the life of the process.
    static QTextCodec* const codec = QTextCodec::codecForName("GB2312");
    return codec;
}
} // namespace

QByteArray encode(const QString& text)
{
    QTextCodec* codec = deviceCodec();
    return codec ? codec->fromUnicode(text) : text.toLocal8Bit();
}

QString decode(const QByteArray& bytes)
{
    QTextCodec* codec = deviceCodec();
    return codec ? codec->toUnicode(bytes) : QString::fromLocal8Bit(bytes);
}

} // namespace LocalCodePage
