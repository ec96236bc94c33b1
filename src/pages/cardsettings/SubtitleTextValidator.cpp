#include "pages/cardsettings/SubtitleTextValidator.h"

#include "pages/cardsettings/InputCardSettings.h"

QValidator::State SubtitleTextValidator::validate(QString& input, int&) const
{
    return InputCardSettings::subtitleAcceptable(input) ? Acceptable : Invalid;
}
