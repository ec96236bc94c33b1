#pragma once

#include <QObject>

// Shows the operator what the matrix link reports: the "not connected" box when a command finds
// the link down. The link itself opens no window.
class LinkNotices : public QObject
{
    Q_OBJECT
public:
    // Connects the link's notices once for the life of the application.
    static void install();

public slots:
    void showNotConnected();

private:
    using QObject::QObject;
};
