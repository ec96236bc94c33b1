#pragma once

// Camera stream URLs by maker: a main and a sub stream template per device type, filled with
// the camera's address (%1), channel (%2), user (%3), password (%4) and media port (%5).

#include <QString>

struct StreamUrlInputs
{
    int type = 0;
    QString address;
    int channel = 0;
    QString user;
    QString password;
    int mediaPort = 0;

    bool operator==(const StreamUrlInputs& other) const;
    bool operator!=(const StreamUrlInputs& other) const { return !(*this == other); }
};

namespace StreamUrlTemplates {

// The templates of a device type; empty where the type has none (the field keeps its text).
QString mainTemplate(int type);
QString subTemplate(int type);

// Fills every placeholder in one pass, so that a "%1" inside a typed value stays as typed.
// Values go in as they are, without URL escaping.
QString fill(const QString& pattern, const StreamUrlInputs& inputs);

} // namespace StreamUrlTemplates
