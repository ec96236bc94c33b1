#include "framework/MessageShortcuts.h"

#include "framework/FMessageBoxDialog.h"
#include "framework/ModalMessageBox.h"

namespace {
int runMessageBox(const QString &text, int kind)
{
    auto *box = new FMessageBoxDialog;
    box->setMessage(QString(), text, kind);
    return execMessageBox(box, text);
}
}

void showErrorMessage(const QString &text)
{
    runMessageBox(text, 2);
}

void showInfoMessage(const QString &text)
{
    runMessageBox(text, 0);
}

int showQuestionMessage(const QString &text)
{
    return runMessageBox(text, 1);
}
