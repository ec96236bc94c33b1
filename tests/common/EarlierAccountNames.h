#pragma once

// The only administrator of stores that earlier releases wrote and logged in, with what an
// operator types for it (the name as it reads): Mohammadreza with a non-joiner between letters
// that do not join, Bengali ra-phala, the rainbow flag, a soft hyphen.

#include <QString>

struct EarlierAccountName
{
    const char* what;
    QString stored;
    QString asRead;
};

inline const EarlierAccountName earlierAccountNames[] = {
    {"Persian", QStringLiteral(u"\u0645\u062D\u0645\u062F\u200C\u0631\u0636\u0627"),
     QStringLiteral(u"\u0645\u062D\u0645\u062F\u0631\u0636\u0627")},
    {"Bengali", QStringLiteral(u"\u09B0\u200D\u09CD\u09AF"), QStringLiteral(u"\u09B0\u09CD\u09AF")},
    {"flag", QStringLiteral(u"\U0001F3F3\uFE0F\u200D\U0001F308"), QStringLiteral(u"\U0001F3F3\U0001F308")},
    {"soft hyphen", QStringLiteral(u"Wach\u00ADdienst"), QStringLiteral("Wachdienst")},
};
