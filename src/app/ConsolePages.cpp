#include "app/ConsolePages.h"

#include "pagekit/PageRegistry.h"
#include "pages/cardsettings/MInputCardSetting.h"
#include "pages/cardsettings/MOutputCardSetting.h"
#include "pages/edid/MEDIDSettingWidget.h"
#include "pages/portswitch/MatrixSwitchPage.h"
#include "pages/switching/AvPlayerControl.h"
#include "pages/switching/MCenterMainWindow.h"
#include "pages/system/CSysConfigWidget.h"
#include "pages/users/UserManagePage.h"

#include <QtGlobal>

// One line per page: navigation key, button text, administrators only, start-up rank. The
// start-up sequence initialises the pages in rank order, which is not the navigation order.
const PageRegistry& consolePages()
{
    static const PageRegistry registry = [] {
        PageRegistry pages;
        pages.add<MCenterMainWindow>(QStringLiteral("Switch"), QT_TRANSLATE_NOOP("CenterWindow", "信号切换"), true, 1);
        pages.add<MInputCardSetting>(QStringLiteral("InSetting"), QT_TRANSLATE_NOOP("CenterWindow", "输入设置"), true, 3);
        pages.add<MOutputCardSetting>(QStringLiteral("OutSetting"), QT_TRANSLATE_NOOP("CenterWindow", "输出设置"), true, 4);
        pages.add<MEDIDSettingWidget>(QStringLiteral("EdidConfig"), QT_TRANSLATE_NOOP("CenterWindow", "EDID设置"), true, 2);
        pages.add<CSysConfigWidget>(QStringLiteral("SysConfig"), QT_TRANSLATE_NOOP("CenterWindow", "系统设置"), true, 5);
        pages.add<MatrixSwitchPage>(QStringLiteral("MatrixSwitch"), QT_TRANSLATE_NOOP("CenterWindow", "端口切换"), false, 6);
        pages.add<UserManagePage>(QStringLiteral("UserManage"), QT_TRANSLATE_NOOP("CenterWindow", "端口权限"), true, 7);
        pages.addStartupStep([] { AvPlayerControl::instance()->startPreview(); }, true);
        return pages;
    }();
    return registry;
}
