#include "pages/cardsettings/OptionBox.h"

#include "core/OptionGroup.h"
#include "pagekit/WaitedChoice.h"
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
    const auto outcome = WaitedChoice::send(binding.box, port, index, [&] {
        return settings.chooseOption(QLatin1String(binding.group), QLatin1String(binding.recordKey), index,
                                     binding.box->itemText(index));
    });
    // What the port holds now: the new entry when taken, else the old one, so that choosing the
    // new one again retries. Unless another port was loaded during the wait.
    if (outcome != WaitedChoice::Outcome::HeldBack && settings.port() == port && settings.hasValidType())
        showStored(settings, binding);
}

} // namespace OptionBox
