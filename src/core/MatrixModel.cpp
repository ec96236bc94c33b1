#include "core/MatrixModel.h"

#include "core/CCHelper.h"
#include "core/DeviceQueries.h"
#include "core/PortRecords.h"
#include "core/ReplyParser.h"

MatrixModel::MatrixModel(QObject* parent)
    : QObject(parent)
    , portRecords(new PortRecords(this))
    , replyParser(new ReplyParser(portRecords, this))
    , deviceQueries(new DeviceQueries(portRecords, this))
{
    connect(portRecords, &PortRecords::routesChanged, this, &MatrixModel::routesChanged);
    connect(portRecords, &PortRecords::recordChanged, this, &MatrixModel::recordChanged);
    CCHelper* link = CCHelper::instance();
    connect(link, &CCHelper::clientReceived, replyParser, &ReplyParser::clientReceived);
    // The link's state, for the status query: down, it is not repeated; back, it is asked again.
    auto lost = [this] { deviceQueries->setLinkUp(false); };
    connect(link, &CCHelper::clientDisConnected, deviceQueries, lost);
    connect(link, &CCHelper::clientConnectTimeout, deviceQueries, lost);
    connect(link, &CCHelper::notConnected, deviceQueries, lost);
    connect(link, &CCHelper::clientConnected, deviceQueries, [this] { deviceQueries->setLinkUp(true); });
    // A "Recall" asks for the routes once the lines read with it are parsed: a burst of recalls
    // costs one query, and the scene call that caused it still finds them read.
    connect(replyParser, &ReplyParser::ioStatusQueryNeeded, deviceQueries, &DeviceQueries::queryAfterLines);
    connect(link, &CCHelper::linesDelivered, deviceQueries, &DeviceQueries::linesDelivered);
    connect(replyParser, &ReplyParser::ioStatusRefreshWanted, deviceQueries, &DeviceQueries::requestIOStatus);
    connect(replyParser, &ReplyParser::routesReported, deviceQueries, &DeviceQueries::routesReported);
    connect(replyParser, &ReplyParser::failureReported, deviceQueries, &DeviceQueries::failureReported);
    portRecords->loadCardConfig();
}

MatrixModel::~MatrixModel() = default;

CardInfo MatrixModel::getCardInfo(int port) const { return portRecords->getCardInfo(port); }
void MatrixModel::setCardInfo(int port, const CardInfo& record) { portRecords->setCardInfo(port, record); }
bool MatrixModel::hasCard(int port) const { return portRecords->hasCard(port); }
int MatrixModel::cardCount() const { return portRecords->cardCount(); }
int MatrixModel::getRoute(int output) const { return portRecords->getRoute(output); }
void MatrixModel::setRoute(int output, int input) { portRecords->setRoute(output, input); }
void MatrixModel::setRoutes(int mode, int input, int output) { portRecords->setRoutes(mode, input, output); }
QList<int> MatrixModel::outputsOfInput(int input) const { return portRecords->outputsOfInput(input); }
int MatrixModel::countChar() const { return portRecords->countChar(); }
void MatrixModel::loadCardConfig() { portRecords->loadCardConfig(); }
bool MatrixModel::saveCardConfig() { return portRecords->saveCardConfig(); }

void MatrixModel::clientReceived(const QString& recvStr)
{
    // A line handed in is a read of its own, and its caller waits for what it causes.
    replyParser->clientReceived(recvStr);
    deviceQueries->linesDelivered(true);
}
void MatrixModel::queryIOStatus() { deviceQueries->queryIOStatus(); }
void MatrixModel::queryIpCardAddresses() { deviceQueries->queryIpCardAddresses(); }
