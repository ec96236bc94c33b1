// Command template files as any file may be: every template and option group they hold is read
// and filled without fault, and filling never loses or invents text around the placeholders.
#include "FuzzSupport.h"

#include "core/GlobalState.h"
#include "core/MatrixCommands.h"
#include "core/OptionGroup.h"
#include "core/PublicClass.h"

#include <QSettings>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::setUp();
    g_languageIndex = 2;
    const QByteArray input = FuzzSupport::bytes(data, size);
    QDir().mkpath(QStringLiteral("data/command2"));
    const QString path = QStringLiteral("data/command2/SYSTEM.ini");
    FuzzSupport::writeFile(path, input);

    const CommandArgs args{1, QStringLiteral("%2"), 160, QStringLiteral("名称")};
    QSettings ini(path, QSettings::IniFormat);
    for (const QString& group : ini.childGroups()) {
        ini.beginGroup(group);
        const QStringList keys = ini.childKeys();
        ini.endGroup();
        for (const QString& key : keys)
            MatrixCommands::build(PublicClass::eCARD_TYPE_SYSTEM, group, key, args);
        const OptionGroup options = OptionGroup::readFile(path, group);
        FuzzSupport::require(options.texts().size() == options.size(), "an option without its text");
        for (int i = 0; i < options.size(); ++i)
            OptionGroup::keyAt(i, options.texts().at(i));
    }

    // The input as a template itself: without placeholders it comes back unchanged.
    const QString pattern = QString::fromUtf8(input);
    const QString filled = MatrixCommands::fill(pattern, args);
    if (!pattern.contains(QLatin1Char('%')))
        FuzzSupport::require(filled == pattern, "a text without placeholders was changed");
    return 0;
}
