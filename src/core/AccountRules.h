#pragma once

#include <QString>

// What a user name or a new password may be. A name is any printable text of any script: no
// control character (NUL included), no character shown as nothing (format characters, default
// ignorables such as variation selectors and Hangul fillers, the Braille blank; the joiners only
// where they change how their neighbours are drawn), separator or noncharacter, no white space
// at either end (the login trims what is typed), at most 99 UTF-8 bytes, so that the store holds
// it exactly as it is. The password transform runs DES over the Latin-1 form of the password, so
// any character outside printable Latin-1 would silently become "?" there: "密码" and "??" would
// be the same password. The name enters the transform's key the same way (a Chinese character is
// a "?" there); the key only varies the transform, and the login finds the account by the whole
// name, so any script will do. The texts live in 100-byte fields with their terminator. Stored
// accounts are never checked: they keep working whatever they hold (an imported backup needs only
// one administrator whose name passes).
namespace AccountRules {

enum class Verdict {
    Ok,
    Empty,
    TooLong,       // name over 99 UTF-8 bytes, password over 48 characters
    NotLatin1,     // password: a character outside printable Latin-1
    NotPrintable,  // name: a control or invisible character, or white space at either end
};

// A password of 48 bytes gives a 96-digit transform, the most that fits 99 characters.
constexpr int MaxPasswordLength = 48;
constexpr int MaxNameBytes = 99;

// The pages pass the text as they trimmed it; an imported backup passes its administrators' names
// as the store holds them.
Verdict checkNewName(const QString& name);
// The name with each character checkNewName refuses written as "<U+034F>", for messages.
QString shownName(const QString& name);
Verdict checkNewPassword(const QString& password);

// The message an operator sees for a refused name or password (empty for Ok).
QString nameRefusal(Verdict verdict);
QString passwordRefusal(Verdict verdict);

// Whether every character has a printable Latin-1 form (U+0020..U+007E, U+00A0..U+00FF).
bool isPrintableLatin1(const QString& text);

} // namespace AccountRules
