#pragma once

#include <QString>

// What a new user name or a new password may be. The password transform runs DES over the
// Latin-1 form of both texts (the name is part of the key), so any character outside printable
// Latin-1 would silently become "?" there: "密码" and "??" would be the same password. The texts
// live in 100-byte fields with their terminator. Stored accounts are never checked: they keep
// working whatever they hold.
namespace AccountRules {

enum class Verdict {
    Ok,
    Empty,
    TooLong,     // name over 99 UTF-8 bytes, password over 48 characters
    NotLatin1,   // a character outside printable Latin-1
};

// A password of 48 bytes gives a 96-digit transform, the most that fits 99 characters.
constexpr int MaxPasswordLength = 48;
constexpr int MaxNameBytes = 99;

// Both take the text as the page trimmed it.
Verdict checkNewName(const QString& name);
Verdict checkNewPassword(const QString& password);

// The message an operator sees for a refused name or password (empty for Ok).
QString nameRefusal(Verdict verdict);
QString passwordRefusal(Verdict verdict);

// Whether every character has a printable Latin-1 form (U+0020..U+007E, U+00A0..U+00FF).
bool isPrintableLatin1(const QString& text);

} // namespace AccountRules
