#pragma once

#include <QString>

class QGridLayout;
class QLabel;
class QStackedWidget;
class QWidget;

// The form both card settings panels are built on: a stacked widget above a spacer, its first
// page a grid of right-aligned labels (column 0) and controls; the second page is the panel's own.
struct CardForm
{
    QStackedWidget* stackedWidget;
    QGridLayout* gridLayout;

    // Lays the form out on the panel, which takes the object name and the initial size.
    static CardForm build(QWidget* panel, const QString& objectName, int width, int height);
    // The label of a grid row: "label", "label_2", ...
    QLabel* addLabel(int row) const;
};
