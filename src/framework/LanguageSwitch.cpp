#include "framework/LanguageSwitch.h"

#include <QApplication>
#include <QFont>
#include <QStringList>
#include <QTranslator>

namespace {

void installLanguage(const QStringList& catalogues, const QString& fontFamily)
{
    for (const QString& name : catalogues) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(name)) {
            QCoreApplication::installTranslator(translator);
        } else {
            qWarning("Translation catalogue %s is missing", qPrintable(name));
            delete translator;
        }
    }
    QFont font;
    font.setFamily(fontFamily);
    QApplication::setFont(font);
}

} // namespace

// The resource bundle lives in a static library, so it has to be registered by hand; the macro
// declares a function and must therefore be used outside any namespace.
static void registerResources()
{
    Q_INIT_RESOURCE(vexilo);
}

void setLanguageEnglish()
{
    registerResources();
    installLanguage({QStringLiteral(":/app_en_US"), QStringLiteral(":/tolvan_en")},
                    QStringLiteral("Arial"));
}

void setLanguageSimplifiedChinese()
{
    registerResources();
    installLanguage({QStringLiteral(":/qt_zh_CN"), QStringLiteral(":/tolvan_zh"),
                     QStringLiteral(":/app_zh_CN")},
                    QStringLiteral("微软雅黑"));
}

void setLanguageTraditionalChinese()
{
    registerResources();
    installLanguage({QStringLiteral(":/qt_zh_TW"), QStringLiteral(":/tolvan_zh_tw"),
                     QStringLiteral(":/app_zh_TW")},
                    QStringLiteral("微软雅黑"));
}
