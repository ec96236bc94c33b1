#pragma once

#include <QValidator>

// Keeps the subtitle field to what the matrix can take: no ";", no character its code page does
// not carry and at most 64 bytes in it. Typing or pasting any of these is refused as it happens.
class SubtitleTextValidator : public QValidator
{
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};
