#include "pages/cardsettings/OptionBox.h"

#include "core/OptionGroup.h"
#include "pages/cardsettings/CardPortSettings.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace OptionBox {

void fill(QComboBox* box, const OptionGroup& group)
{
    box->clear();
    box->addItems(group.texts());
}

void fillOrHide(QComboBox* box, QWidget* label, const OptionGroup& group)
{
    fill(box, group);
    box->setVisible(!group.isEmpty());
    label->setVisible(!group.isEmpty());
}

void showStored(const CardPortSettings& settings, const Binding& binding)
{
    const int fallback = binding.defaultText
                             ? binding.box->findText(QLatin1String(binding.defaultText), Qt::MatchContains)
                             : binding.fallback;
    const QSignalBlocker blocker(binding.box);
    binding.box->setCurrentIndex(settings.optionIndex(QLatin1String(binding.recordKey), fallback));
}

void choose(CardPortSettings& settings, const Binding& binding, int index)
{
    const int port = settings.port();
    if (settings.chooseOption(QLatin1String(binding.group), QLatin1String(binding.recordKey), index,
                              binding.box->itemText(index)))
        return;
    // Unless another port was loaded during the wait.
    if (settings.port() == port && settings.hasValidType())
        showStored(settings, binding);
}

} // namespace OptionBox
