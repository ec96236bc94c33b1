#pragma once

// Interface agreed with devicesim's main: the RTSP streams of every preview output card.
// The owner of tools/devicesim/rtsp replaces this placeholder.

#include <QObject>

class ControlChannel;
class MatrixSimulator;

class PreviewStreamFarm : public QObject
{
    Q_OBJECT
public:
    explicit PreviewStreamFarm(QObject* parent = nullptr) : QObject(parent) {}

    // Serves rtsp://<card address>:port/live/channel=N_stream=M for every preview card of the matrix.
    bool start(MatrixSimulator& matrix, quint16 port = 8554, QString* error = nullptr)
    {
        Q_UNUSED(matrix) Q_UNUSED(port) Q_UNUSED(error)
        return true;
    }

    // Adds the stream control commands (stop/restart a stream) to the control port.
    void registerControls(ControlChannel& channel) { Q_UNUSED(channel) }
};
