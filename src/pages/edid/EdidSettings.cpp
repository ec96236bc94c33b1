#include "pages/edid/EdidSettings.h"

#include "core/CardInfo.h"
#include "core/OptionGroup.h"
#include "core/PortSettingStore.h"
#include "core/PublicClass.h"
#include "pagekit/PageModel.h"
#include "pages/edid/EdidPorts.h"

EdidSettings::EdidSettings(CommandSender sender)
    : matrix(std::move(sender))
{
}

bool EdidSettings::copy(int sourceOutput, int input) const
{
    if (sourceOutput < 0 || input < 0)
        return false;
    if (!matrix.sendSystem(QStringLiteral("CopyEDID"), {sourceOutput, input + 1}, false))
        return false;
    PortSettingStore::store(PageModel::model(), input, CardKey::InCard, EdidPorts::CopySourceKey, sourceOutput);
    return true;
}

QStringList EdidSettings::internalChoices()
{
    return OptionGroup::plainKeys(PublicClass::eCARD_TYPE_SYSTEM, EdidPorts::InternalGroup);
}

int EdidSettings::internalChoice(int input, int fallback)
{
    return PortSettingStore::side(PageModel::model(), input, CardKey::InCard)
        .value(EdidPorts::InternalKey)
        .toInt(fallback);
}

bool EdidSettings::chooseInternal(int input, int index, const QString& choice) const
{
    if (input < 0 || index < 0)
        return false;
    if (!matrix.send(PublicClass::eCARD_TYPE_SYSTEM, EdidPorts::InternalGroup, choice, {input + 1}, true))
        return false;
    PortSettingStore::store(PageModel::model(), input, CardKey::InCard, EdidPorts::InternalKey, index);
    return true;
}
