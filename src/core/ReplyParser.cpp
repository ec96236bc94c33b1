#include "core/ReplyParser.h"
#include "platform/ConfigFiles.h"

#include "core/CardInfo.h"
#include "core/MatrixReply.h"
#include "core/ModelBounds.h"
#include "core/PortRecords.h"
#include "core/PublicClass.h"
#include "platform/TextHelpers.h"

#include <QDebug>
#include <QRegularExpression>
#include <QSettings>

namespace {

// A whole field as a decimal int (sign and blanks allowed); anything else gives 0.
int wholeNumber(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? value : 0;
}

// Adds to a log entry how many entries of its kind the budget left out before it.
void noteHeldBack(QDebug entry, int heldBack)
{
    if (heldBack > 0)
        entry << "- entries not logged before it:" << heldBack;
}

} // namespace

ReplyParser::ReplyParser(PortRecords* records, QObject* parent)
    : QObject(parent)
    , records(records)
{
}

QString ReplyParser::clientConfigPath()
{
    return ConfigFiles::clientConfig();
}

void ReplyParser::warnBeyondModel(const QString& line)
{
    int heldBack = 0;
    if (beyondModelLog.admit(&heldBack))
        noteHeldBack(qWarning().noquote() << "port number beyond the largest model ignored in:" << line.left(80), heldBack);
}

ReplyParser::Report ReplyParser::reportOf(const QString& line)
{
    static const QRegularExpression routeListMarker(QStringLiteral("\\d+[AV]"));
    if (line.contains(QLatin1String("Closed.")))
        return Report::Closed;
    if (line.contains(QLatin1String("A:")) || line.contains(QLatin1String("V:")))
        return Report::Arrow;   // "AV:" holds "V:"
    if (line.contains(QLatin1String("Recall")))
        return Report::Recall;
    if (line.contains(QLatin1String("To All")))
        return Report::ToAll;
    if (line.contains(QLatin1String("All Through.")))
        return Report::AllThrough;
    if (line.contains(QLatin1String("Open.")))
        return Report::Open;
    if (line.contains(QLatin1String("Factory Default")))
        return Report::FactoryDefault;
    if (routeListMarker.match(line).hasMatch())
        return Report::RouteList;
    return Report::None;
}

QString ReplyParser::answerLine(const QString& reply, LoneLine lone)
{
    QString reportLike;
    int reportLikeLines = 0;
    for (const QString& part : reply.split(QStringLiteral("\r\n"))) {
        const QString line = part.trimmed();
        if (line.isEmpty())
            continue;
        if (reportOf(line) == Report::None)
            return line;
        reportLike = line;
        ++reportLikeLines;
    }
    return lone == LoneLine::Answer && reportLikeLines == 1 ? reportLike : QString();
}

void ReplyParser::clientReceived(const QString& recvStr)
{
    const QString line = recvStr.trimmed();
    if (MatrixReply::reportsFailure(line))
        emit failureReported();

    switch (reportOf(line)) {
    case Report::None:
        break;
    case Report::Closed:
        handleClosed(line);
        break;
    case Report::Arrow:
        handleArrow(line);
        break;
    case Report::Recall:
        handleRecall(line);
        break;
    case Report::ToAll:
        handleToAll(line);
        break;
    case Report::AllThrough:
        records->setRoutes(3, 0, 0);
        emit routesReported();
        break;
    case Report::Open:
        emit ioStatusRefreshWanted();
        break;
    case Report::FactoryDefault:
        handleFactoryDefault();
        break;
    case Report::RouteList:
        handleRouteList(line);
        break;
    }
}

void ReplyParser::handleToAll(const QString& line)
{
    const QList<int> numbers = extractNumbers(line);
    if (numbers.isEmpty())
        return;
    if (ModelBounds::isPortNumberOrZero(numbers.first())) {
        records->setRoutes(2, numbers.first(), 0);
        emit routesReported();
    } else {
        warnBeyondModel(line);
    }
}

void ReplyParser::handleFactoryDefault()
{
    records->setRoutes(3, 0, 0);
    emit routesReported();
    int heldBack = 0;
    if (routeLog.admit(&heldBack))
        noteHeldBack(qDebug().noquote() << QStringLiteral("设备已恢复出厂设置"), heldBack);
}

void ReplyParser::handleClosed(const QString& line)
{
    const QList<int> numbers = extractNumbers(line);
    int heldBack = 0;
    if (numbers.isEmpty()) {
        records->setRoutes(1, 0, 0);
        emit routesReported();
        if (routeLog.admit(&heldBack))
            noteHeldBack(qDebug().noquote() << QStringLiteral("所有输出端口") << QStringLiteral("已关闭"), heldBack);
        return;
    }
    const int output = numbers.first();
    if (!ModelBounds::isPortNumberOrZero(output)) {
        warnBeyondModel(line);
        return;
    }
    if (output >= 1)
        records->setRoute(output - 1, -2);
    emit routesReported();
    if (routeLog.admit(&heldBack))
        noteHeldBack(qDebug().noquote() << QStringLiteral("输出端口") << output << QStringLiteral("已关闭"), heldBack);
}

void ReplyParser::handleArrow(const QString& line)
{
    const QString text = line.mid(line.indexOf(QLatin1Char(':')) + 1).trimmed();
    const QString arrow = QStringLiteral("->");
    const int first = text.indexOf(arrow);
    const int last = text.lastIndexOf(arrow);
    const int input = wholeNumber(first < 0 ? text : text.left(first));
    const int output = wholeNumber(last < 0 ? text : text.mid(last + arrow.size()));
    if (!ModelBounds::isPortNumberOrZero(input) || !ModelBounds::isPortNumberOrZero(output)) {
        warnBeyondModel(line);
        return;
    }

    if (output >= 1)
        records->setRoute(output - 1, input - 1);
    emit routesReported();
    int heldBack = 0;
    if (!routeLog.admit(&heldBack))
        return;
    if (input == 0)
        noteHeldBack(qDebug().noquote() << QStringLiteral("输出端口") << output << QStringLiteral("无输入"), heldBack);
    else
        noteHeldBack(qDebug().noquote() << QStringLiteral("输入端口") << input << QStringLiteral("切换到输出端口") << output,
                     heldBack);
}

void ReplyParser::handleRecall(const QString& line)
{
    const QList<int> numbers = extractNumbers(line);
    if (numbers.isEmpty())
        return;
    const int scene = numbers.first();
    if (scene >= 1 && scene <= 10)
        recalledScene = scene;
    emit ioStatusQueryNeeded();
    int heldBack = 0;
    if (routeLog.admit(&heldBack))
        noteHeldBack(qDebug().noquote() << QStringLiteral("已调用场景") << scene, heldBack);
}

void ReplyParser::linesDelivered()
{
    if (recalledScene == 0)
        return;
    QSettings settings(clientConfigPath(), QSettings::IniFormat);
    settings.setValue(QStringLiteral("CLIENT_INFO/CurrentSencce"), recalledScene);
    recalledScene = 0;
}

void ReplyParser::handleRouteList(const QString& line)
{
    const QList<int> numbers = extractNumbers(line);
    const int input = numbers.first();
    if (!ModelBounds::isPortNumberOrZero(input)) {
        warnBeyondModel(line);
        return;
    }
    // A list names each output once: more numbers than the largest model has outputs are no
    // route list of any matrix, and are not worth a log line each.
    bool beyond = numbers.size() - 1 > ModelBounds::MaxPorts;
    const int last = qMin(numbers.size() - 1, ModelBounds::MaxPorts);
    for (int i = 1; i <= last; ++i) {
        const int output = numbers.at(i);
        if (!ModelBounds::isPortNumberOrZero(output)) {
            beyond = true;
            continue;
        }
        if (output >= 1)
            records->setRoute(output - 1, input - 1);
        int heldBack = 0;
        if (routeLog.admit(&heldBack))
            noteHeldBack(qDebug().noquote() << QStringLiteral("输入端口") << input << QStringLiteral("切换到输出端口") << output,
                         heldBack);
    }
    if (beyond)
        warnBeyondModel(line);
    emit routesReported();
}
