#include "pages/switching/MSenceListWidget.h"

#include "dialogs/CMeetingMessageBoxDialog.h"
#include "framework/EditTeardown.h"
#include "framework/FCheckabelButton.h"
#include "core/GlobalState.h"
#include "pages/switching/SceneStore.h"
#include "pagekit/StyledBackground.h"
#include "core/MatrixCommands.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

MSenceListWidget::MSenceListWidget(QWidget* parent)
    : QWidget(parent)
    , saveBtn(new QPushButton(tr("场景保存")))
    , callBtn(new QPushButton(tr("场景调用")))
    , deleteBtn(new QPushButton(tr("场景删除")))
    , sceneContainer(new QWidget)
{
    setObjectName(QStringLiteral("MSenceListWidget"));
    setFixedWidth(150);
    saveBtn->setObjectName(QStringLiteral("SceneSaveBtn"));
    callBtn->setObjectName(QStringLiteral("SceneCallBtn"));
    deleteBtn->setObjectName(QStringLiteral("SceneDeleteBtn"));

    auto* headerRow = new QHBoxLayout;
    auto* title = new QLabel(tr("场景列表"));
    title->setFixedSize(95, 30);
    title->setProperty("Type", QStringLiteral("HeadLabel"));
    title->setAlignment(Qt::AlignCenter);
    headerRow->addStretch();
    headerRow->addWidget(title);
    headerRow->addStretch();

    auto* column = new QVBoxLayout(sceneContainer);
    column->setContentsMargins(0, 0, 0, 0);
    column->addStretch(3);
    for (int i = 0; i < SceneStore::kSceneCount; ++i) {
        auto* button = new FCheckabelButton;
        button->setProperty("Type", QStringLiteral("PushButtonScene"));
        auto* edit = new QLineEdit;
        edit->setProperty("Type", QStringLiteral("LineEditScene"));
        edit->setMaxLength(8);
        edit->setAlignment(Qt::AlignCenter);
        edit->hide();
        column->addWidget(button, 0, Qt::AlignHCenter);
        column->addWidget(edit, 0, Qt::AlignHCenter);
        buttons << button;
        edits << edit;
        connect(button, &QPushButton::clicked, this, &MSenceListWidget::onSceneButtonClicked);
        connect(button, &FCheckabelButton::doubleClick, this, &MSenceListWidget::onSceneButtonDoubleClicked);
        connect(edit, &QLineEdit::editingFinished, this, &MSenceListWidget::onEditingFinished);
    }
    column->addStretch(6);
    auto* commands = new QVBoxLayout;
    commands->addWidget(saveBtn);
    commands->addWidget(callBtn);
    commands->addWidget(deleteBtn);
    column->addLayout(commands);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(headerRow);
    layout->addWidget(sceneContainer);

    connect(callBtn, &QPushButton::clicked, this, &MSenceListWidget::onSenceCall);
    connect(deleteBtn, &QPushButton::clicked, this, &MSenceListWidget::onSenceDel);
    connect(saveBtn, &QPushButton::clicked, this, &MSenceListWidget::onSenceSave);
    loadSceneNames();
}

MSenceListWidget::~MSenceListWidget()
{
    disconnectFinishedEdits(this);
}

void MSenceListWidget::loadSceneNames()
{
    QStringList defaults;
    for (int i = 0; i < SceneStore::kSceneCount; ++i)
        defaults << tr("场景%1").arg(i + 1);
    const QStringList names = SceneStore::loadNames(defaults);
    for (int i = 0; i < buttons.size(); ++i)
        buttons.at(i)->setText(names.value(i));
}

int MSenceListWidget::chosenScene() const
{
    for (int i = 0; i < buttons.size(); ++i) {
        if (buttons.at(i)->isChecked())
            return i;
    }
    return 0;
}

int MSenceListWidget::chosenSceneNumber() const
{
    return SceneStore::sceneNumber(chosenScene(), g_deviceModel);
}

void MSenceListWidget::onSenceCall()
{
    sceneCalling = true;
    const int number = chosenSceneNumber();
    if (!MatrixCommands().sendSystem(QStringLiteral("SceneCall"), {number}, true)) {
        CMeetingMessageBoxDialog::showError(tr("调用场景失败！"));
        return;
    }
    sceneCalling = false;
    SceneStore::storeCurrentScene(number);
    CMeetingMessageBoxDialog::showInformation(tr("调用场景成功！"));
}

void MSenceListWidget::onSenceDel()
{
    if (MatrixCommands().sendSystem(QStringLiteral("SceneClear"), {chosenSceneNumber()}, true))
        CMeetingMessageBoxDialog::showInformation(tr("删除场景成功！"));
    else
        CMeetingMessageBoxDialog::showError(tr("删除场景失败！"));
}

void MSenceListWidget::onSenceSave()
{
    if (MatrixCommands().sendSystem(QStringLiteral("SceneSave"), {chosenSceneNumber()}, true))
        CMeetingMessageBoxDialog::showInformation(tr("保存场景成功！"));
    else
        CMeetingMessageBoxDialog::showError(tr("保存场景失败！"));
}

void MSenceListWidget::onSceneButtonClicked()
{
    for (FCheckabelButton* button : qAsConst(buttons))
        button->setChecked(false);
    if (auto* button = qobject_cast<FCheckabelButton*>(sender()))
        button->setChecked(true);
}

void MSenceListWidget::onSceneButtonDoubleClicked()
{
    const int i = buttons.indexOf(qobject_cast<FCheckabelButton*>(sender()));
    if (i < 0)
        return;
    QLineEdit* edit = edits.at(i);
    buttons.at(i)->hide();
    edit->setText(buttons.at(i)->text());
    edit->show();
    edit->setFocus();
}

void MSenceListWidget::onEditingFinished()
{
    const int i = edits.indexOf(qobject_cast<QLineEdit*>(sender()));
    if (i < 0)
        return;
    QLineEdit* edit = edits.at(i);
    if (edit->text().trimmed().isEmpty())
        edit->undo();
    // Nothing left to undo (the whole edit was one step): keep the name the button shows.
    if (edit->text().trimmed().isEmpty())
        edit->setText(buttons.at(i)->text());
    buttons.at(i)->show();
    edit->hide();
    buttons.at(i)->setText(edit->text());
    SceneStore::saveName(i, edit->text());
}

void MSenceListWidget::paintEvent(QPaintEvent*)
{
    paintStyledBackground(this);
}
