#pragma once

#include <QValidator>

// Accepts a device name or model text that the matrix can take when sent with the given byte
// offset (see DeviceTextCommands); an empty text, or one longer than the matrix takes, is never
// acceptable, so it never finishes editing.
class DeviceTextValidator : public QValidator
{
    Q_OBJECT
public:
    DeviceTextValidator(int offset, QObject* parent = nullptr);

    State validate(QString& input, int& pos) const override;

private:
    int offset;
};
