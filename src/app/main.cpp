#include "app/AppStartup.h"
#include "app/CLoginDialog.h"
#include "dialogs/CMeetingMessageBoxDialog.h"
#include "app/MainWindow.h"
#include "app/SettingMenuController.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QProcess>

int main(int argc, char* argv[])
{
    // Qt reads the scaling attribute only while it creates the application object.
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication app(argc, argv);

    initData();
    // Taken before the first settings write; the box for a second copy waits for the skin and
    // the language.
    SingleInstance single(QStringLiteral("Vexilo"));
    const SingleInstance::Result instance =
        AppStartup::holdSingleInstance(&single, QCoreApplication::applicationDirPath());
    loadLanguageAndSkin();

    switch (instance) {
    case SingleInstance::AlreadyRunning:
        CMeetingMessageBoxDialog::showError(QCoreApplication::translate("main", "程序已经在运行！"));
        return 0;
    case SingleInstance::Failed:
        return 0;
    case SingleInstance::Acquired:
        break;
    }

    {
        CLoginDialog login(nullptr);
        if (login.exec() != QDialog::Accepted)
            return 0;
    }

    MainWindow::instance()->show();
    const int code = app.exec();
    if (code == SettingMenuController::LogoutExitCode) {
        // The new copy must find the segment gone.
        single.release();
        QProcess::startDetached(QCoreApplication::applicationFilePath(), QStringList());
        return 0;
    }
    return code;
}
