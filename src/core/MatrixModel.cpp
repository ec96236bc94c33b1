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
    connect(link, &CCHelper::clientReceived, this, &MatrixModel::clientReceived);
    // The matrix may have switched while the link was down: after a reconnect ask for the routes
    // again. The first connection (made before the model) is the start-up's to query. Queued: the
    // link announces the connection from inside its connect.
    auto lost = [this] {
        linkLost = true;
        deviceQueries->setLinkUp(false);
    };
    connect(link, &CCHelper::clientDisConnected, this, lost);
    connect(link, &CCHelper::clientConnectTimeout, this, lost);
    connect(link, &CCHelper::notConnected, deviceQueries, [this] { deviceQueries->setLinkUp(false); });
    connect(link, &CCHelper::clientConnected, this, [this] {
        deviceQueries->setLinkUp(true);
        if (!linkLost)
            return;
        linkLost = false;
        deviceQueries->requestIOStatus();
    });
    connect(replyParser, &ReplyParser::ioStatusQueryNeeded, deviceQueries, &DeviceQueries::queryIOStatus);
    connect(replyParser, &ReplyParser::ioStatusRefreshWanted, deviceQueries, &DeviceQueries::requestIOStatus);
    connect(replyParser, &ReplyParser::routeListReceived, deviceQueries, &DeviceQueries::routeListReceived);
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

void MatrixModel::clientReceived(const QString& recvStr) { replyParser->clientReceived(recvStr); }
void MatrixModel::queryIOStatus() { deviceQueries->queryIOStatus(); }
void MatrixModel::queryIpCardAddresses() { deviceQueries->queryIpCardAddresses(); }
