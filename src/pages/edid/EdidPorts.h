#pragma once

#include <QString>

// The EDID page's rules: which card types have an EDID, which ports take part, and the EDID
// settings of an input port.
namespace EdidPorts {

// HDMI, DVI, HDBT, 4K HDMI and 4K HDBT cards and the HDMI halves of the mixed cards.
bool edidCapable(int cardType);
// Whether a port of that card type takes part: an EDID-capable card, of a 4K HDBT card (input
// or output) only the odd ports.
bool takesPart(int cardType, int port);

// "in-card" keys: the 0-based output whose EDID the input copies, and the built-in EDID chosen.
inline const QString CopySourceKey = QStringLiteral("EDID-OUT");
inline const QString InternalKey = QStringLiteral("internal_edid");
// The built-in EDID group of the system template file, and the entry chosen when none is stored.
inline const QString InternalGroup = QStringLiteral("INTERNAL_EDID");
inline const QString InternalDefault = QStringLiteral("1080P-2D-2.0");

} // namespace EdidPorts
