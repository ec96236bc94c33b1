#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class ControlChannel;

// Faults of the matrix transport, armed through the control port and applied to the replies
// of the next commands. Each kind keeps its own count: n > 0 for the next n commands,
// -1 until "clear".
class FaultInjector
{
public:
    struct Plan
    {
        bool drop = false;                   // close the client instead of answering
        std::optional<QByteArray> replaceBy; // answer these bytes instead (empty: stay silent)
        int delayMs = 0;                     // before the first byte
        int parts = 1;                       // writes the reply is split into
        int pauseMs = 0;                     // between the parts
    };

    // The plan for one received piece of a command; consumes one count of each armed kind.
    // Delay and split only count against non-empty answers.
    Plan take(bool answerIsEmpty);
    // The answer of a refused command, consuming one count of "refuse"; none when not armed.
    // Asked before the command runs: a refused command changes nothing on the matrix.
    std::optional<QByteArray> takeRefusal();

    // The words that arm faults; "clear" belongs to the transport, which resets more than these.
    void registerControls(ControlChannel& channel);
    void clear();

private:
    struct Armed { int count = 0; };
    static bool consume(Armed& a);

    Armed dropArmed;
    Armed replaceArmed;
    QByteArray replacement;
    Armed delayArmed;
    int delayMs = 0;
    Armed refuseArmed;
    QByteArray refusal;
    Armed splitArmed;
    int parts = 1;
    int pauseMs = 0;
};
