#include "core/GlobalState.h"

int g_languageIndex = 2;
int g_deviceModel = 0;
int g_connectionType = 0;
QString g_deviceAddress;
int g_tcpPort = 0;
QString g_serialPortName;
QString g_inCardTypes;
QString g_outCardTypes;
QString g_userName;
QString g_userPassword;
qint64 g_currentUserId = 0;
int g_isAdministrator = 0;
bool g_mainWindowReady = false;
