#pragma once

class QDialog;
class QString;

// Runs a self-deleting message box modally, counted as a wait (the code that asked waits for the
// answer: nothing it uses may go meanwhile). Once the console is leaving (the waits were ended by
// a confirmed exit or log-out) nobody is there to answer: no box opens, its text goes to the log,
// and a box still open then is closed; the result is QDialog::Rejected.
int execMessageBox(QDialog* box, const QString& text);
