#pragma once

#include <QValidator>

// Keeps the subtitle field to what the matrix can take: no ";" and at most 64 bytes in the
// matrix's code page. Typing or pasting past either is refused as it happens.
class SubtitleTextValidator : public QValidator
{
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};
