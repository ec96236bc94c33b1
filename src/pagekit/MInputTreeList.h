#pragma once

#include <QIcon>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QJsonObject>
#include <QPointF>
#include <QTreeWidget>


// One-column list of ports under a find row. Selecting a row makes its port the current one and
// announces it; dragging carries the current port to the switching tiles.
class MInputTreeList : public QTreeWidget
{
    Q_OBJECT
public:
    explicit MInputTreeList(QWidget* parent = nullptr);

    // Adds (update false) or relabels (update true) the row of one port. kind 0 labels it from
    // its "in-card", kind 1 from its "out-card".
    void setCardItem(int index, const QJsonObject& card, int kind, bool update);
    // Shows the rows whose text contains text (any case) and the find row; an empty text shows
    // every row; a text that matches nothing leaves the rows as they are.
    void filterItems(const QString& text);

    int currentCardIndex() const { return curCardIndex; }
    QLineEdit* findEdit() const { return edit; }
    QPushButton* findButton() const { return findBtn; }

signals:
    void signalSelectIndexChanged(int index);

public slots:
    void onFindClick();
    void onFindEditClick(const QString& text);
    void onCurSelectItemChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    // Runs the drag of a port; tests replace it to see which port is dragged.
    virtual void startPortDrag(int portIndex);

private:
    // A list that drops its find row (the EDID page) deletes them: guarded.
    QPointer<QLineEdit> edit;
    QPointer<QPushButton> findBtn;
    QIcon itemIcon;
    int curCardIndex = -1;
    QPointF pressPos;
};
