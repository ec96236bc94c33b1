#pragma once

#include "app/CConfirmDialog.h"

#include <QDateTime>
#include <QList>

class FTableWidget;
class QComboBox;
class QLabel;

// Confirms or corrects the card type of every four-port input and output slot of the chosen
// model. Edits g_inCardTypes / g_outCardTypes in place (padded with "*" to the row count when
// it opens); writes no file.
class CSelectCardTypeDialog : public CConfirmDialog
{
    Q_OBJECT
public:
    explicit CSelectCardTypeDialog(QWidget* parent = nullptr);

    FTableWidget* getTable() const { return table; }
    QList<QComboBox*> inputCombos() const { return inCombos; }
    QList<QComboBox*> outputCombos() const { return outCombos; }

public slots:
    void onOkButtonClicked();
    void changeCardType(int index);

private:
    void initUI();
    void initLayout();
    void initConfig();

    FTableWidget* table = nullptr;
    QList<QComboBox*> inCombos;
    QList<QComboBox*> outCombos;
    QDateTime createdAt;
    QLabel* heading = nullptr;
};
