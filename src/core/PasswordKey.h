#pragma once

#include <QString>

// Passwords are stored as desEncrypt(password, key) with key = user name followed by a fixed
// four-digit constant (only the first eight characters of the key take part in the cipher).
// Every stored PassWord was made with this constant: changing it locks every account out.
QString passwordKey(const QString& userName);
// The stored form of a password.
QString passwordTransform(const QString& userName, const QString& password);
// The password, as Latin-1 text, that the stored form stands for; empty for a form that is not
// hexadecimal of whole blocks.
QString passwordOfTransform(const QString& userName, const QString& transform);
