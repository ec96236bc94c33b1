#pragma once

#include <functional>

class QComboBox;

// A combo box whose choice goes to the matrix as a command that waits for the answer. The wait
// pumps events, so the operator can choose again before it ends (two wheel notches); the link
// would refuse that second command and the box would show an entry that is neither stored nor
// on its way. So while a box's command for a port waits, the box takes no other choice for that
// port: it goes straight back to the entry being sent.
namespace WaitedChoice {

enum class Outcome {
    HeldBack,   // a choice of the box for the port still waits: nothing sent, the box shows it again
    Taken,      // sent and taken by the matrix
    Refused,    // refused, or nothing could be sent
};

// Runs send for the box's entry index of port (send returns whether the matrix took it) unless
// the box's previous choice for that port is still waiting. After Taken or Refused the caller
// shows the port's stored entry again (unless another port was loaded meanwhile).
Outcome send(QComboBox* box, int port, int index, const std::function<bool()>& send);

} // namespace WaitedChoice
