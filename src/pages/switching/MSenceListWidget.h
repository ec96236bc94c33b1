#pragma once

#include <QList>
#include <QWidget>

class FCheckabelButton;
class QLineEdit;
class QPushButton;

// The scene panel of the switching page: ten scenes to choose (one at a time) and rename in
// place, and the buttons that save the routing into the chosen scene, recall it or clear it.
// Scene names live in data/ClientConfig.dat, scene contents only in the matrix.
class MSenceListWidget : public QWidget
{
    Q_OBJECT
public:
    explicit MSenceListWidget(QWidget* parent = nullptr);
    ~MSenceListWidget() override;

    // True from the start of a recall until a recall succeeds; the reply parser reads it.
    bool isSceneCalling() const { return sceneCalling; }
    void loadSceneNames();

    // Index of the first checked scene button, 0 when none is checked.
    int chosenScene() const;
    // The number sent to the matrix for the chosen scene.
    int chosenSceneNumber() const;

    QList<FCheckabelButton*> sceneButtons() const { return buttons; }
    QList<QLineEdit*> nameEdits() const { return edits; }
    QPushButton* saveButton() const { return saveBtn; }
    QPushButton* callButton() const { return callBtn; }
    QPushButton* deleteButton() const { return deleteBtn; }

public slots:
    void onSenceCall();
    void onSenceDel();
    void onSenceSave();
    void onSceneButtonClicked();
    void onSceneButtonDoubleClicked();
    void onEditingFinished();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool sceneCalling = false;
    QPushButton* saveBtn;
    QPushButton* callBtn;
    QPushButton* deleteBtn;
    QWidget* sceneContainer;
    QList<FCheckabelButton*> buttons;
    QList<QLineEdit*> edits;
};
