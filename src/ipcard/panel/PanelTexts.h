#pragma once

// Texts that several parts of the IP card panel show.

#include <QString>

namespace PanelTexts {

// "失败，错误码%1" with a link code or the card's result byte; for the link's own busy refusal it
// also says that another request holds the link.
QString failure(int result);
// The card answered with a body that does not read as the message it should hold.
QString unreadableReply();

} // namespace PanelTexts
