#include "app/CSelectCardTypeDialog.h"

#include "app/CardTypeChoices.h"
#include "app/DialogLayouts.h"
#include "framework/FBasePushButton.h"
#include "framework/FTableWidget.h"
#include "core/GlobalState.h"

#include <QComboBox>
#include <QDebug>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidgetItem>
#include <QVBoxLayout>

CSelectCardTypeDialog::CSelectCardTypeDialog(QWidget* parent)
    : CConfirmDialog(parent)
{
    setObjectName(QStringLiteral("SelectCardTypes"));
    initUI();
    initLayout();
    connect(okButton, &QPushButton::clicked, this, &CSelectCardTypeDialog::onOkButtonClicked);
    initConfig();
}

void CSelectCardTypeDialog::initUI()
{
    heading = new QLabel(tr("卡类型选择"), this);
    heading->setObjectName(QStringLiteral("CompanyName"));

    table = new FTableWidget(this);
    table->setProperty("Type", QStringLiteral("SelectCardType"));
    table->setShowGrid(false);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setColumnCount(3);
    table->setHorizontalHeaderLabels({tr("序号"), tr("输入卡"), tr("输出卡")});
    QHeaderView* header = table->horizontalHeader();
    header->setSectionResizeMode(0, QHeaderView::Fixed);
    header->setSectionResizeMode(1, QHeaderView::Stretch);
    header->setSectionResizeMode(2, QHeaderView::Stretch);
    table->setColumnWidth(0, 100);
    table->verticalHeader()->setDefaultSectionSize(40);
}

void CSelectCardTypeDialog::initLayout()
{
    presetSize = QSize(640, 480);
    setTitle(tr("板卡类型设置"));

    auto* headingRow = new QHBoxLayout;
    headingRow->addStretch();
    headingRow->addWidget(heading);
    headingRow->addStretch();

    auto* tableBox = new QVBoxLayout;
    tableBox->setContentsMargins(10, 10, 10, 10);
    tableBox->addWidget(table);

    QHBoxLayout* buttons = DialogLayouts::centredButtons(okButton, cancelButton);

    QVBoxLayout* content = contentLayout();
    content->addLayout(headingRow);
    content->addLayout(tableBox, 1);
    content->addLayout(buttons);
    content->addSpacing(10);
}

void CSelectCardTypeDialog::initConfig()
{
    const QStringList inEntries = CardTypeChoices::inputEntries();
    const QStringList outEntries = CardTypeChoices::outputEntries();
    const int rows = qMax(0, g_deviceModel / 4);
    CardTypeChoices::padToCount(g_inCardTypes, rows);
    CardTypeChoices::padToCount(g_outCardTypes, rows);

    table->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        auto* range = new QTableWidgetItem(QStringLiteral("%1-%2").arg(4 * r + 1).arg(4 * r + 4));
        range->setTextAlignment(Qt::AlignCenter);
        table->setItem(r, 0, range);

        auto* inCombo = new QComboBox(table);
        inCombo->addItems(inEntries);
        auto* outCombo = new QComboBox(table);
        outCombo->addItems(outEntries);
        table->setCellWidget(r, 1, inCombo);
        table->setCellWidget(r, 2, outCombo);
        inCombos << inCombo;
        outCombos << outCombo;

        inCombo->setCurrentIndex(CardTypeChoices::indexOfLetter(g_inCardTypes.at(r), false));
        outCombo->setCurrentIndex(CardTypeChoices::indexOfLetter(g_outCardTypes.at(r), true));
    }
    // Only now: building the rows must not rewrite any letter.
    for (QComboBox* combo : qAsConst(inCombos))
        connect(combo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                &CSelectCardTypeDialog::changeCardType);
    for (QComboBox* combo : qAsConst(outCombos))
        connect(combo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                &CSelectCardTypeDialog::changeCardType);
}

void CSelectCardTypeDialog::changeCardType(int index)
{
    auto* combo = qobject_cast<QComboBox*>(sender());
    if (!combo)
        return;
    const int inRow = inCombos.indexOf(combo);
    if (inRow >= 0) {
        CardTypeChoices::padToCount(g_inCardTypes, inRow + 1);
        g_inCardTypes[inRow] = CardTypeChoices::letterOfIndex(index, false);
    } else {
        const int outRow = outCombos.indexOf(combo);
        if (outRow < 0)
            return;
        CardTypeChoices::padToCount(g_outCardTypes, outRow + 1);
        g_outCardTypes[outRow] = CardTypeChoices::letterOfIndex(index, true);
    }
    qDebug() << g_inCardTypes << g_outCardTypes;
}

void CSelectCardTypeDialog::onOkButtonClicked()
{
    accepted = true;
    animationClose();
}
