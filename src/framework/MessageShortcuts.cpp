#include "framework/MessageShortcuts.h"

#include "framework/FMessageBoxDialog.h"
#include "platform/EventLoopDelay.h"

namespace {
int runMessageBox(const QString &text, int kind)
{
    auto *box = new FMessageBoxDialog;
    box->setMessage(QString(), text, kind);
    // The code that asked waits for the answer: nothing it uses may go meanwhile.
    const PumpingWaits::Scope waiting;
    return box->exec();
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
