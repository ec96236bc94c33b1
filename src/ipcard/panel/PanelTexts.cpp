#include "ipcard/panel/PanelTexts.h"

#include "ipcard/link/IpLinkResult.h"

#include <QCoreApplication>

namespace PanelTexts {

QString failure(int result)
{
    if (result == IpLinkCode::Busy)
        return QCoreApplication::translate("IpCardPanel", "失败，错误码%1：连接正忙，另一个请求正在等待设备回复，请稍后再试！")
            .arg(result);
    return QCoreApplication::translate("IpCardPanel", "失败，错误码%1").arg(result);
}

QString unreadableReply()
{
    return QCoreApplication::translate("IpCardPanel", "设备返回的数据无法识别！");
}

} // namespace PanelTexts
