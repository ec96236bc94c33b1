#pragma once

#include "pages/cardsettings/CardPortList.h"

#include <QWidget>

class MInputListWidget;

// A card settings page: the ports of one side on the left, a settings panel beside them.
class CardSettingsPage : public QWidget
{
    Q_OBJECT
public:
    ~CardSettingsPage() override;

    // Fills (update false) or relabels (update true) the port list.
    void initConfig(bool update);

protected:
    CardSettingsPage(CardPortList::Side side, QWidget* parent);
    // Places the list (with its title) and the panel of the given width.
    void arrange(const QString& listTitle, QWidget* panel, int panelWidth);
    MInputListWidget* portList() const { return ports; }
    void paintEvent(QPaintEvent* event) override;

private:
    CardPortList::Side side;
    MInputListWidget* ports;
};
