#include "app/AppStartup.h"
#include "platform/ConfigFiles.h"

#include "app/ClientConfig.h"
#include "app/LinkNotices.h"
#include "framework/FrameworkResources.h"
#include "core/GlobalState.h"
#include "platform/LanguageSetting.h"
#include "platform/SettingsLock.h"
#include "framework/LanguageSwitch.h"
#include "framework/ScreenMetrics.h"
#include "framework/StMsgLogger.h"
#include "framework/Utilities.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QLocale>
#include <QScreen>
#include <QSettings>
#include <QTime>

#include <cstdlib>

extern "C" {
#include <libavutil/log.h>
}

namespace {

QtMessageHandler s_previousHandler = nullptr;

const char* levelTag(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg: return "Debug   : ";
    case QtWarningMsg: return "Warning : ";
    case QtCriticalMsg: return "Critical: ";
    case QtFatalMsg: return "Fatal   : ";
    case QtInfoMsg: return "Info    : ";
    }
    return "Unknown : ";
}

QString fileNameOf(const char* file)
{
    QString name = QString::fromUtf8(file ? file : "");
    // Source paths use "/" here where the original platform used "\": either ends the folder part.
    const int cut = qMax(name.lastIndexOf(QLatin1Char('\\')), name.lastIndexOf(QLatin1Char('/')));
    return cut >= 0 ? name.mid(cut + 1) : name;
}

QString functionNameOf(const char* function)
{
    QString signature = QString::fromUtf8(function ? function : "");
    const int paren = signature.indexOf(QLatin1Char('('));
    QString head = paren >= 0 ? signature.left(paren) : signature;
    const int scope = head.indexOf(QLatin1String("::"));
    if (scope >= 0)
        return head.mid(scope + 2);
    // A free function: its name follows the return type.
    const int blank = head.lastIndexOf(QLatin1Char(' '));
    return blank >= 0 ? head.mid(blank + 1) : head;
}

} // namespace

namespace AppStartup {

QString originOf(const QMessageLogContext& context)
{
    return QStringLiteral("[%1]->[%2](%3)")
        .arg(fileNameOf(context.file), functionNameOf(context.function))
        .arg(context.line);
}

QString formatLogLine(QtMsgType type, const QMessageLogContext& context, const QString& text,
                      const QDateTime& now)
{
    return now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz ")) + originOf(context)
           + QLatin1Char('\t') + QLatin1String(levelTag(type)) + text;
}

bool isExpiredLog(const QDateTime& created, const QDateTime& modified, const QDateTime& now)
{
    const QDateTime limit = now.addDays(-30);
    return (created.isValid() && created < limit) || (modified.isValid() && modified < limit);
}

int cleanOldLogs(const QString& dir, const QDateTime& now)
{
    QDir logDir(dir);
    if (!logDir.exists())
        return 0;
    const QFileInfoList files = logDir.entryInfoList({QStringLiteral("*.log"), QStringLiteral("*.dat")},
                                                     QDir::Files | QDir::NoSymLinks);
    for (const QFileInfo& file : files) {
        if (isExpiredLog(file.birthTime(), file.lastModified(), now))
            QFile::remove(file.absoluteFilePath());
    }
    if (!files.isEmpty())
        qDebug() << "清理30天前的日志文件成功！";
    return files.size();
}

int languageIndexOf(const QString& localeName)
{
    if (localeName.trimmed().isEmpty())
        return 2;
    switch (QLocale(localeName).country()) {
    case QLocale::China: return 0;
    case QLocale::Taiwan: return 1;
    default: return 2;
    }
}

void applySkin()
{
    QSettings settings(ConfigFiles::mainConfig(), QSettings::IniFormat);
    setSkin(settings.value(ConfigFiles::skinFileKey(), QStringLiteral("skin/qss/default.qss")).toString(),
            nullptr);
}

void releaseOwnerlessSettingsLocks(const QString& programFolder)
{
    for (const QString& settings : {ConfigFiles::clientConfig(), ConfigFiles::mainConfig()})
        removeOwnerlessSettingsLock(QDir(programFolder).filePath(settings));
}

SingleInstance::Result holdSingleInstance(SingleInstance* single, const QString& programFolder)
{
    const SingleInstance::Result result = single->acquire();
    if (result == SingleInstance::Acquired)
        releaseOwnerlessSettingsLocks(programFolder);
    else if (result == SingleInstance::AlreadyRunning)
        qWarning() << "another copy of the program is running";
    return result;
}

void applyLanguage()
{
    const int index = languageIndexOf(LanguageSetting::read());
    if (index == 0)
        setLanguageSimplifiedChinese();
    else if (index == 1)
        setLanguageTraditionalChinese();
    else
        setLanguageEnglish();
    QSettings settings(ClientConfig::path(), QSettings::IniFormat);
    settings.setValue(QStringLiteral("CLIENT_INFO/Language"), index);
    settings.sync();
    g_languageIndex = index;
}

} // namespace AppStartup

void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    const QString line = AppStartup::formatLogLine(type, context, text, QDateTime::currentDateTime());
    if (s_previousHandler)
        s_previousHandler(type, context, line);
    stLogger.writeLog(type, context, line);
}

void initData()
{
    stLogger.setLogLevel(3);
    s_previousHandler = qInstallMessageHandler(messageHandler);
    std::srand(uint(QTime(0, 0, 0).secsTo(QTime::currentTime())));

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        screenWidth = screen->availableGeometry().width();
        screenHeight = screen->availableGeometry().height();
    }

    QCoreApplication::setOrganizationName(QStringLiteral("KIV"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("kiv.example"));
    QCoreApplication::setApplicationName(QStringLiteral("Vexilo"));
    ensureFrameworkResources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/trayIcon")));

    av_log_set_level(AV_LOG_QUIET);
    LinkNotices::install();

    // Relative to the folder the program was started in: the working directory changes later.
    if (isDirExist(QStringLiteral("./Log")))
        AppStartup::cleanOldLogs(QStringLiteral("./Log"), QDateTime::currentDateTime());
}

void loadLanguageAndSkin()
{
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    AppStartup::applySkin();
    AppStartup::applyLanguage();
}
