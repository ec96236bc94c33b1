#pragma once

// What DeviceToHisilicon::sendData returns: one of the link's own codes below, or the
// result byte of the card's reply (1 = success, anything else the card's error code).
using IpLinkResult = int;

namespace IpLinkCode {
constexpr IpLinkResult Success = 1;
constexpr IpLinkResult NotConnected = 14;    // socket not connected, nothing sent
constexpr IpLinkResult SendFailed = 16;      // header or body not written in full
constexpr IpLinkResult ReceiveFailed = 17;   // reply header or body not read in full
constexpr IpLinkResult Timeout = 18;         // no reply within the wait
constexpr IpLinkResult Busy = 19;            // another exchange on the link is waiting, nothing sent
constexpr IpLinkResult LengthMismatch = 27;  // head.length differs from the body, nothing sent
} // namespace IpLinkCode
