#pragma once

class CardPortSettings;
class OptionGroup;
class QComboBox;
class QWidget;

// The option-group combo boxes of the card settings panels.
namespace OptionBox {

// A combo box bound to an option group and the record key its choice is stored under.
struct Binding
{
    QComboBox* box;
    const char* group;
    const char* recordKey;
    int fallback;                          // entry shown when nothing is stored
    const char* defaultText = nullptr;     // else: the first entry containing this text
};

// Replaces the box's items by the group's display texts (no item data).
void fill(QComboBox* box, const OptionGroup& group);
// Fills the box and shows it and its label only when the group has entries.
void fillOrHide(QComboBox* box, QWidget* label, const OptionGroup& group);
// Shows the port's stored entry (or the default one) without telling the box's listeners.
void showStored(const CardPortSettings& settings, const Binding& binding);
// Sends and stores the choice; a choice that was refused or could not be sent is taken back,
// so that choosing it again retries. While the choice waits for the matrix, the box takes no other.
void choose(CardPortSettings& settings, const Binding& binding, int index);

} // namespace OptionBox
