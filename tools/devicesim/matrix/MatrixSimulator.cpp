#include "MatrixSimulator.h"

MatrixSimulator::MatrixSimulator(const MatrixConfig&, QObject* parent) : QObject(parent) {}
QByteArray MatrixSimulator::receive(int, const QByteArray&) { return {}; }
void MatrixSimulator::clientGone(int) {}
int MatrixSimulator::routeOf(int) const { return -1; }
QList<QHostAddress> MatrixSimulator::ipCardAddresses() const { return {}; }
QList<QHostAddress> MatrixSimulator::previewCardAddresses() const { return {}; }
