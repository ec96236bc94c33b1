#pragma once

#include "core/MatrixCommands.h"

#include <QStringList>

// The EDID settings of input ports, without widgets: copying an output's EDID to an input and
// choosing one of the matrix's built-in EDIDs. A setting is stored in the input's "in-card" only
// when its command went out (and, for a built-in EDID, the matrix took it).
class EdidSettings
{
public:
    explicit EdidSettings(CommandSender sender = CommandSender());

    // "CopyEDID" with %1 = the source output's 0-based index (as the matrix's command expects it)
    // and %2 = the 1-based input number, not waited for; then "EDID-OUT" = sourceOutput.
    bool copy(int sourceOutput, int input) const;

    // The built-in EDID choices: the keys of the system file's "INTERNAL_EDID" group.
    static QStringList internalChoices();
    // The choice stored for an input, else fallback.
    static int internalChoice(int input, int fallback);
    // Sends the choice's template with %1 = the input number and waits; stores its position on
    // success.
    bool chooseInternal(int input, int index, const QString& choice) const;

private:
    MatrixCommands matrix;
};
