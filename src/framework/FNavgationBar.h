#pragma once

#include <QBoxLayout>
#include <QFrame>
#include <QList>
#include <QStringList>

class FCheckabelButton;
class QHBoxLayout;
class QPushButton;
class QScrollArea;

// Bar of page buttons. Twelve placements (bottom, left, top, right, each in three alignments);
// the bottom-left one (0) scrolls its buttons in steps of 100 px behind two arrow buttons.
class FNavgationBar : public QFrame
{
    Q_OBJECT
public:
    static const int kVariantCount = 12;

    explicit FNavgationBar(QWidget *parent = nullptr);

    bool addButton(const QString &text, const QString &objectName, QString imageName, bool disabled);
    int buttonCount() const { return buttons.size(); }
    int currentIndex() const { return currentIdx; }
    void clickButton(int index);

    // Rebuilds placement variant (0..11) on the bar and names the bar after its side.
    // Returns false for an unknown variant (nothing changes then).
    bool applyVariant(int variant);
    // Direction the centre frame gives its bar-then-pages layout for a variant.
    static QBoxLayout::Direction innerDirection(int variant);
    int variant() const { return currentVariant; }

    int getVisibleWidth() const { return visibleWidth; }
    QScrollArea *getScrollArea() const { return scrollArea; }
    QWidget *getScrollWidget() const { return scrollWidget; }
    QPushButton *getScrollLeft() const { return scrollLeft; }
    QPushButton *getScrollRight() const { return scrollRight; }
    FCheckabelButton *button(int index) const { return buttons.value(index); }
    QStringList texts() const { return buttonTexts; }

signals:
    void navgationChanged(QString strObjectName);

public slots:
    void setButtonChecked();
    void ScrollLeft();
    void ScrollRight();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitVisibleWidth(int barWidth);
    void fillScrollWidget();
    void updateArrows();
    void dropCurrentLayout();

    QBoxLayout *layouts[kVariantCount] = {};
    int currentIdx = 0;
    QHBoxLayout *scrollLayout = nullptr;
    QScrollArea *scrollArea;
    QWidget *scrollWidget;
    QPushButton *scrollLeft;
    QPushButton *scrollRight;
    int visibleWidth = 200;
    QList<FCheckabelButton *> buttons;
    QStringList buttonTexts;
    int currentVariant = -1;
};
