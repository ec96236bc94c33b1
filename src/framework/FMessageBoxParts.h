#pragma once

#include <QCoreApplication>

class FBasePushButton;
class FFramelessDialog;
class QBoxLayout;
class QLabel;
class QString;
class QWidget;

// The content both message-box families share: icon and text on one row, OK and Cancel at
// the bottom right, the icon, Cancel visibility and default title of each message kind.
struct FMessageBoxParts
{
    Q_DECLARE_TR_FUNCTIONS(FMessageBoxParts)

public:
    enum Kind { Information = 0, Question = 1, Error = 2 };

    FBasePushButton *okButton = nullptr;
    FBasePushButton *cancelButton = nullptr;
    QLabel *iconLabel = nullptr;
    QLabel *textLabel = nullptr;

    // Creates the widgets as children of dialog and adds them to layout.
    static FMessageBoxParts build(QWidget *dialog, QBoxLayout *layout);

    // Icon and Cancel button for a kind; unknown kinds set no icon and keep Cancel.
    // Returns false for an unknown kind.
    bool showKind(int kind) const;
    // Kind, title and text on box; an empty title becomes the kind's own.
    void showMessage(FFramelessDialog *box, const QString &title, const QString &text, int kind) const;
};
