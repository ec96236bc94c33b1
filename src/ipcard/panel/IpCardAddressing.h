#pragma once

// The IP card's address as the matrix knows it: the command that changes it, and the pair of
// port records that hold it (an IP card's processor serves ports 2k and 2k+1).

#include <QString>

class MatrixModel;

namespace IpCardAddressing {

// The other port record of the pair: the index with its lowest bit flipped.
inline int partnerIndex(int cardIndex) { return cardIndex ^ 1; }

// "USER/I/<port>:" with the 1-based port, the four numbers of address as one character each
// (codes 0-255, sent as Latin-1 raw bytes), then "%;". Empty when address is not IPv4.
QString changeCommand(int cardIndex, const QString& address);

// "in-card" "ip" of both records of the pair.
void storeAddress(MatrixModel* model, int cardIndex, const QString& address);

} // namespace IpCardAddressing
