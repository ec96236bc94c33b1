#pragma once

class FBasePushButton;
class QBoxLayout;
class QLabel;
class QString;
class QWidget;

// The content both message-box families share: icon and text on one row, OK and Cancel at
// the bottom right, and the icon and Cancel visibility of each message kind.
struct FMessageBoxParts
{
    enum Kind { Information = 0, Question = 1, Error = 2 };

    FBasePushButton *okButton = nullptr;
    FBasePushButton *cancelButton = nullptr;
    QLabel *iconLabel = nullptr;
    QLabel *textLabel = nullptr;

    // Creates the widgets as children of dialog and adds them to layout.
    static FMessageBoxParts build(QWidget *dialog, QBoxLayout *layout,
                                  const QString &okText, const QString &cancelText);

    // Icon and Cancel button for a kind; unknown kinds set no icon and keep Cancel.
    // Returns false for an unknown kind.
    bool showKind(int kind) const;
};
