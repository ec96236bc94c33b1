#pragma once

#include <QString>
#include <QtGlobal>

// Process-wide values of the console, set at start-up and login and read everywhere.

extern int g_languageIndex;        // 0 Simplified Chinese, 1 Traditional Chinese, 2 English
extern int g_deviceModel;          // chosen matrix model = number of input and output ports
extern int g_connectionType;       // 0 TCP, 1 serial line
extern QString g_deviceAddress;    // matrix address for TCP
extern int g_tcpPort;              // matrix port for TCP
extern QString g_serialPortName;   // serial port name
extern QString g_inCardTypes;      // one card-type letter per four-port input slot
extern QString g_outCardTypes;     // one card-type letter per four-port output slot
extern QString g_userName;         // last or current user
extern QString g_userPassword;     // stored (transformed) password of the current user
extern qint64 g_currentUserId;     // logged-in user
extern int g_isAdministrator;      // 1 when the logged-in user is an administrator
extern bool g_mainWindowReady;     // set once the main window has been built
