#pragma once

#include <QJsonObject>
#include <QWidget>

class MInputTreeList;
class QLabel;

// The port list at the left edge of a page: a header over the find row and one row per port.
class MInputListWidget : public QWidget
{
    Q_OBJECT
public:
    explicit MInputListWidget(QWidget* parent = nullptr);

    void setCardItem(int index, const QJsonObject& card, int kind, bool update);
    // The last selected port; -1 when no port row was ever selected.
    int currentCardIndex() const;
    void setTitle(const QString& text, bool visible);

    MInputTreeList* treeList() const { return tree; }
    QLabel* headerLabel() const { return header; }

signals:
    void signalSelectCardIndexChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    MInputTreeList* tree;
    QLabel* header;
};
