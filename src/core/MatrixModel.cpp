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
    // The state is the link's own at the time the handler runs: a "not connected" box handled
    // before it may have outlived a reconnect.
    auto follow = [this, link] { deviceQueries->setLinkUp(link->isUp()); };
    for (auto change : {&CCHelper::clientConnected, &CCHelper::clientDisConnected,
                        &CCHelper::clientConnectTimeout, &CCHelper::notConnected})
        connect(link, change, deviceQueries, follow);
    // A query refused while another command held the link is asked once that one has ended.
    connect(link, &CCHelper::sendRefused, deviceQueries, &DeviceQueries::linkBusy);
    connect(link, &CCHelper::sendFinished, deviceQueries, &DeviceQueries::linkFree, Qt::QueuedConnection);
    // A "Recall" asks for the routes once the lines read with it are parsed: a burst of recalls
    // costs one query, and the scene call that caused it still finds them read.
    connect(replyParser, &ReplyParser::ioStatusQueryNeeded, deviceQueries, &DeviceQueries::queryAfterLines);
    connect(link, &CCHelper::linesDelivered, this, &MatrixModel::linesDelivered);
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
    linesDelivered(true);
}

void MatrixModel::linesDelivered(bool asReply)
{
    // The scene recalled first, then the routes asked for.
    replyParser->linesDelivered();
    deviceQueries->linesDelivered(asReply);
}
void MatrixModel::queryIOStatus() { deviceQueries->queryIOStatus(); }
void MatrixModel::queryIpCardAddresses() { deviceQueries->queryIpCardAddresses(); }
