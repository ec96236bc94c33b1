// Draws the skin's icons and images. Run through make-skin.sh; the PNGs it writes are committed.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <cstdio>

namespace {

const QColor kIcon(0xe6, 0xec, 0xf5);   // light glyphs on the dark title bar
const QColor kAccent(0, 73, 192);       // output-tile blue
const QColor kAccentLight(0x3d, 0x86, 0xff);
const QColor kNavy(0x1b, 0x22, 0x30);

QString g_root;

QImage canvas(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void save(const QImage &image, const QString &relative)
{
    const QString path = g_root + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, "PNG"))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

QPen glyphPen(qreal width, const QColor &colour = kIcon)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Title-bar glyphs are drawn on a 48 px grid and centred in a 30 px box so that they look
// light next to the title text.
void titleGlyph(const QString &name, void (*draw)(QPainter &))
{
    QImage image = canvas(48);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    save(image, QStringLiteral("skin/icons/") + name);
}

void drawClose(QPainter &p)
{
    p.setPen(glyphPen(3.2));
    p.drawLine(QPointF(16, 16), QPointF(32, 32));
    p.drawLine(QPointF(32, 16), QPointF(16, 32));
}

void drawMin(QPainter &p)
{
    p.setPen(glyphPen(3.2));
    p.drawLine(QPointF(15, 31), QPointF(33, 31));
}

void drawFull(QPainter &p)
{
    p.setPen(glyphPen(3.0));
    const qreal a = 14, b = 34, l = 7;
    p.drawPolyline(QPolygonF({QPointF(a, a + l), QPointF(a, a), QPointF(a + l, a)}));
    p.drawPolyline(QPolygonF({QPointF(b - l, a), QPointF(b, a), QPointF(b, a + l)}));
    p.drawPolyline(QPolygonF({QPointF(b, b - l), QPointF(b, b), QPointF(b - l, b)}));
    p.drawPolyline(QPolygonF({QPointF(a + l, b), QPointF(a, b), QPointF(a, b - l)}));
}

void drawNormal(QPainter &p)
{
    p.setPen(glyphPen(2.8));
    p.drawRect(QRectF(14, 19, 15, 15));
    p.drawPolyline(QPolygonF({QPointF(19, 14), QPointF(34, 14), QPointF(34, 29)}));
}

void drawMenu(QPainter &p)
{
    p.setPen(glyphPen(3.0));
    for (qreal y : {16.0, 24.0, 32.0})
        p.drawLine(QPointF(15, y), QPointF(33, y));
}

void drawSkin(QPainter &p)
{
    // A palette: rounded blob with three colour dots.
    QPainterPath blob;
    blob.moveTo(24, 12);
    blob.cubicTo(33, 12, 37, 18, 37, 24);
    blob.cubicTo(37, 29, 33, 30, 30, 30);
    blob.cubicTo(27, 30, 26, 33, 28, 35);
    blob.cubicTo(29, 37, 27, 37, 24, 37);
    blob.cubicTo(16, 37, 11, 31, 11, 24);
    blob.cubicTo(11, 17, 17, 12, 24, 12);
    p.setPen(glyphPen(2.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(blob);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccentLight);
    p.drawEllipse(QPointF(18, 21), 2.4, 2.4);
    p.setBrush(QColor(0x3c, 0xc8, 0x8c));
    p.drawEllipse(QPointF(25, 18), 2.4, 2.4);
    p.setBrush(QColor(0xf0, 0xb4, 0x3c));
    p.drawEllipse(QPointF(18, 29), 2.4, 2.4);
}

// Padlock on a size x size canvas; open lifts the shackle, keyhole cuts one into the body.
QImage padlock(int size, bool open, bool keyhole, const QColor &colour)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 48.0, size / 48.0);
    p.setPen(glyphPen(3.0, colour));
    p.setBrush(Qt::NoBrush);
    QPainterPath shackle;
    if (open) {
        shackle.moveTo(17, 22);
        shackle.lineTo(17, 15);
        shackle.arcTo(QRectF(17, 8, 14, 14), 180, -180);
        shackle.lineTo(31, 13);
        shackle.translate(5, 0);
    } else {
        shackle.moveTo(17, 23);
        shackle.lineTo(17, 17);
        shackle.arcTo(QRectF(17, 10, 14, 14), 180, -180);
        shackle.lineTo(31, 23);
    }
    p.drawPath(shackle);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    QPainterPath body;
    body.addRoundedRect(QRectF(12, 22, 24, 18), 3, 3);
    if (keyhole) {
        QPainterPath hole;
        hole.addEllipse(QPointF(24, 29), 3, 3);
        hole.addRect(QRectF(22.8, 29, 2.4, 6));
        body = body.subtracted(hole.simplified());
    }
    p.drawPath(body);
    return image;
}

// Round badge with a glyph, for the message boxes (shown at 35 x 35).
QImage badge(const QColor &top, const QColor &bottom, void (*glyph)(QPainter &))
{
    QImage image = canvas(70);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 70);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(QPen(QColor(255, 255, 255, 60), 2));
    p.setBrush(g);
    p.drawEllipse(QRectF(3, 3, 64, 64));
    glyph(p);
    return image;
}

void infoGlyph(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(35, 20), 4.5, 4.5);
    p.drawRoundedRect(QRectF(31, 29, 8, 24), 3, 3);
}

void questionGlyph(QPainter &p)
{
    p.setPen(QPen(Qt::white, 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath q;
    q.moveTo(25, 27);
    q.cubicTo(25, 13, 46, 13, 46, 25);
    q.cubicTo(46, 33, 35, 33, 35, 42);
    p.drawPath(q);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(35, 53), 4.5, 4.5);
}

void errorGlyph(QPainter &p)
{
    p.setPen(QPen(Qt::white, 7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(24, 24), QPointF(46, 46));
    p.drawLine(QPointF(46, 24), QPointF(24, 46));
}

// One frame of the busy spinner: twelve dots, the head brightest, turning 1/17 turn a frame.
QImage spinnerFrame(int frame, int frames)
{
    QImage image = canvas(120);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(60, 60);
    const int dots = 12;
    const qreal head = 360.0 * frame / frames;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < dots; ++i) {
        const qreal trail = qreal(i) / dots;              // 0 at the head, near 1 at the tail
        QColor c = kAccentLight;
        c.setAlphaF(1.0 - 0.85 * trail);
        p.save();
        p.rotate(head - i * 360.0 / dots);
        p.setBrush(c);
        const qreal r = 7.5 - 3.5 * trail;
        p.drawEllipse(QPointF(0, -40), r, r);
        p.restore();
    }
    return image;
}

// Small glyphs the style sheet uses: chevrons for combo boxes, spin boxes and the navigation
// arrows, a tick for check boxes. angle 0 points down.
QImage chevron(int size, qreal angle, const QColor &colour)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(size / 2.0, size / 2.0);
    p.rotate(angle);
    p.scale(size / 16.0, size / 16.0);
    p.setPen(glyphPen(2.0, colour));
    p.drawPolyline(QPolygonF({QPointF(-4.5, -2), QPointF(0, 2.5), QPointF(4.5, -2)}));
    return image;
}

QImage tick(int size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    p.setPen(glyphPen(2.2, Qt::white));
    p.drawPolyline(QPolygonF({QPointF(3.5, 8.5), QPointF(6.8, 11.5), QPointF(12.5, 4.5)}));
    return image;
}

QImage inputItem()
{
    // A small screen with a signal arrow: the input port rows.
    QImage image = canvas(32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kAccentLight, 2));
    p.setBrush(QColor(0, 73, 192, 90));
    p.drawRoundedRect(QRectF(3, 6, 26, 18), 3, 3);
    p.setPen(glyphPen(2, kIcon));
    p.drawLine(QPointF(11, 28), QPointF(21, 28));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(13, 10), QPointF(21, 15), QPointF(13, 20)}));
    return image;
}

QImage trayIcon()
{
    // A 3 x 3 matrix of tiles with one route lit, on a navy rounded square.
    const int size = 128;
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 0, size);
    bg.setColorAt(0, QColor(0x24, 0x30, 0x46));
    bg.setColorAt(1, kNavy);
    p.setPen(QPen(kAccent, 4));
    p.setBrush(bg);
    p.drawRoundedRect(QRectF(4, 4, size - 8, size - 8), 24, 24);
    const qreal cell = 26, gap = 8, origin = (size - 3 * cell - 2 * gap) / 2;
    auto tile = [&](int row, int col) {
        return QRectF(origin + col * (cell + gap), origin + row * (cell + gap), cell, cell);
    };
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            const bool lit = (r == 0 && c == 0) || (r == 1 && c == 1) || (r == 2 && c == 2);
            p.setPen(Qt::NoPen);
            p.setBrush(lit ? QColor(kAccentLight) : QColor(0x3a, 0x46, 0x59));
            p.drawRoundedRect(tile(r, c), 5, 5);
        }
    }
    p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(tile(0, 0).center(), tile(2, 2).center());
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(tile(2, 2).center(), 6, 6);
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: drawskin <runtime dir> <tray icon path>\n");
        return 2;
    }
    g_root = QString::fromLocal8Bit(argv[1]);

    titleGlyph(QStringLiteral("close.png"), drawClose);
    titleGlyph(QStringLiteral("minsize.png"), drawMin);
    titleGlyph(QStringLiteral("fullscreensize.png"), drawFull);
    titleGlyph(QStringLiteral("normalsize.png"), drawNormal);
    titleGlyph(QStringLiteral("menu.png"), drawMenu);
    titleGlyph(QStringLiteral("skin.png"), drawSkin);
    save(padlock(48, true, false, kIcon), QStringLiteral("skin/icons/lock.png"));
    save(padlock(48, false, false, kIcon), QStringLiteral("skin/images/appbar.lock.png"));
    save(padlock(48, true, true, kIcon), QStringLiteral("skin/images/appbar.unlock.keyhole.png"));

    save(badge(QColor(0x3d, 0x86, 0xff), kAccent, infoGlyph), QStringLiteral("skin/images/info.png"));
    save(badge(QColor(0x2f, 0xb8, 0xc8), QColor(0x13, 0x7a, 0x9c), questionGlyph),
         QStringLiteral("skin/images/question.png"));
    save(badge(QColor(0xf0, 0x55, 0x55), QColor(0xb0, 0x1e, 0x2a), errorGlyph),
         QStringLiteral("skin/images/error.png"));

    const int frames = 17;
    for (int i = 1; i <= frames; ++i)
        save(spinnerFrame(i - 1, frames), QStringLiteral("skin/images/loading/loading%1.png").arg(i));

    const QColor dim(0x8a, 0x96, 0xa8);
    save(chevron(32, 0, kIcon), QStringLiteral("skin/icons/arrow-down.png"));
    save(chevron(32, 180, kIcon), QStringLiteral("skin/icons/arrow-up.png"));
    save(chevron(32, 90, kIcon), QStringLiteral("skin/icons/arrow-left.png"));
    save(chevron(32, -90, kIcon), QStringLiteral("skin/icons/arrow-right.png"));
    save(chevron(32, 0, dim), QStringLiteral("skin/icons/arrow-down-disabled.png"));
    save(tick(32), QStringLiteral("skin/icons/check.png"));

    save(inputItem(), QStringLiteral("style/image/inputItem.png"));

    const QImage tray = trayIcon();
    if (!tray.save(QString::fromLocal8Bit(argv[2]), "PNG"))
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 0;
}
