#pragma once

#include <QString>
#include <QWidget>

// An empty page that stands in the navigation for a page whose contents are not written yet.
// One instance per navigation key, built on first use with no parent.
class PlaceholderPage : public QWidget
{
    Q_OBJECT
public:
    static PlaceholderPage* instance(const QString& key);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    explicit PlaceholderPage(const QString& key);
};
