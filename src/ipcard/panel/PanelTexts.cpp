#include "ipcard/panel/PanelTexts.h"

#include <QCoreApplication>

namespace PanelTexts {

QString failure(int result)
{
    return QCoreApplication::translate("IpCardPanel", "失败，错误码%1").arg(result);
}

QString unreadableReply()
{
    return QCoreApplication::translate("IpCardPanel", "设备返回的数据无法识别！");
}

} // namespace PanelTexts
