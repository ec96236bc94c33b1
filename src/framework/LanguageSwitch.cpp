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

namespace {

// The compiled-in catalogues of a language (0 Simplified, 1 Traditional Chinese, else English)
// by their exact resource names.
QStringList languageCatalogues(int languageIndex)
{
    registerResources();
    switch (languageIndex) {
    case 0:
        return {QStringLiteral(":/qt_zh_CN"), QStringLiteral(":/tolvan_zh"), QStringLiteral(":/app_zh_CN")};
    case 1:
        return {QStringLiteral(":/qt_zh_TW"), QStringLiteral(":/tolvan_zh_tw"), QStringLiteral(":/app_zh_TW")};
    default:
        return {QStringLiteral(":/app_en_US"), QStringLiteral(":/tolvan_en")};
    }
}

} // namespace

void setLanguageEnglish()
{
    installLanguage(languageCatalogues(2), QStringLiteral("Arial"));
}

void setLanguageSimplifiedChinese()
{
    installLanguage(languageCatalogues(0), QStringLiteral("微软雅黑"));
}

void setLanguageTraditionalChinese()
{
    installLanguage(languageCatalogues(1), QStringLiteral("微软雅黑"));
}
