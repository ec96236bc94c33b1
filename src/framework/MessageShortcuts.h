#pragma once

class QString;

// Modal framework message boxes. Each builds a self-deleting FMessageBoxDialog with the kind's
// default title; showQuestionMessage returns 1 (QDialog::Accepted) after OK, 0 otherwise.
void showErrorMessage(const QString &text);
void showInfoMessage(const QString &text);
int showQuestionMessage(const QString &text);
