#pragma once

#include "pages/edid/EdidSettings.h"

#include <QJsonObject>
#include <QMetaObject>
#include <QWidget>

class MInputTreeList;
class QComboBox;
class QLabel;

// The left edge of the EDID page: a first row with the built-in EDID choice of the selected
// input, then the output ports whose EDID an input can copy (dragged onto an input tile).
class EDIDOutListWidget : public QWidget
{
    Q_OBJECT
public:
    explicit EDIDOutListWidget(QWidget* parent = nullptr);

    // Adds (update false) or relabels (update true) the row of an output port.
    void setCardItem(int index, const QJsonObject& card, int kind, bool update);
    // Shows the built-in EDID choice of an input; refilling the box sends nothing.
    void selectInput(int port);
    int selectedInput() const { return input; }

public slots:
    // A tile of the EDID page was clicked: its input becomes the selected one.
    void onSelectIndexChanged();
    void saveInternalEDID(int index);

private:
    // The box entry the input has stored, else the default entry.
    int storedChoice() const;

    MInputTreeList* tree;
    QComboBox* box;
    QLabel* header;
    int input = -1;
    EdidSettings settings;
    QMetaObject::Connection boxWiring;
};
