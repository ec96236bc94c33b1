#pragma once

#include <QString>

// What a new user name or a new password may be, and how names are compared. A name is any
// printable text of any script: no control character (NUL included), no character shown as
// nothing (format characters, default ignorables such as variation selectors and Hangul fillers,
// the Braille blank; the joiners only where they change how their neighbours are drawn),
// separator or noncharacter, no white space at either end (the login trims what is typed), at
// most 99 UTF-8 bytes, so that the store holds it exactly as it is. The password transform runs
// DES over the Latin-1 form of the password, so any character outside printable Latin-1 would
// silently become "?" there: "密码" and "??" would be the same password. The name enters the
// transform's key the same way (a Chinese character is a "?" there); the key only varies the
// transform, and the login finds the account by the whole name, so any script will do. The texts
// live in 100-byte fields with their terminator.
// These rules are for what an operator types as new. Stored accounts are never checked against
// them: names are compared as identifiers are, both sides prepared alike (preparedName), so that
// a stored name with an invisible character or another kind of space is found by typing it as it
// reads, and a new name that would look like a stored one is refused.
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

// The pages pass the text as they trimmed it; an imported backup passes its administrators'
// prepared names, for printability only.
Verdict checkNewName(const QString& name);
// The form in which two names are compared: every space separator (Zs) as U+0020, every
// Default_Ignorable_Code_Point removed, then NFC, then trimmed. Two names are the same account
// name when their prepared forms are equal; the login finds nobody by an empty one.
QString preparedName(const QString& name);
// The name with each character checkNewName refuses written as "<U+034F>", for messages.
QString shownName(const QString& name);
Verdict checkNewPassword(const QString& password);

// The message an operator sees for a refused name or password (empty for Ok).
QString nameRefusal(Verdict verdict);
QString passwordRefusal(Verdict verdict);

// Whether every character has a printable Latin-1 form (U+0020..U+007E, U+00A0..U+00FF).
bool isPrintableLatin1(const QString& text);

} // namespace AccountRules
