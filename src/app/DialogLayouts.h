#pragma once

#include <QList>
#include <QPair>
#include <QString>

class QGridLayout;
class QHBoxLayout;
class QWidget;

// Layout pieces shared by the login dialogs.
namespace DialogLayouts {

// OK and Cancel side by side, 20 px apart, centred in the row.
QHBoxLayout* centredButtons(QWidget* ok, QWidget* cancel);

using LabelledRow = QPair<QString, QWidget*>;

// A two-column grid without margins, 20 px spacing: each row a 24 px high label and its field,
// the field column taking the spare width. Installed on host when one is given.
QGridLayout* labelledRows(const QList<LabelledRow>& rows, QWidget* host = nullptr);

} // namespace DialogLayouts
