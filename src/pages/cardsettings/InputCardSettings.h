#pragma once

#include "pages/cardsettings/CardPortSettings.h"

// The input card settings of the selected port: option groups, the four picture levels and the
// subtitle text.
class InputCardSettings : public CardPortSettings
{
public:
    // The picture levels, in the order of the panel's sliders.
    enum Level { Chroma, Brightness, Contrast, Sharpness, LevelCount };

    // Longest subtitle the matrix takes, in bytes of its code page.
    static constexpr int kSubtitleMaxBytes = 64;

    explicit InputCardSettings(CommandSender sender = CommandSender());

    static QString levelRecordKey(Level level);
    static QString levelCommandKey(Level level);
    // What a slider shows when nothing is stored: 50, sharpness 20.
    static int levelDefault(Level level);
    int levelShown(Level level) const { return storedInt(levelRecordKey(level), levelDefault(level)); }

    // Sends the level ("CONFIG" key, %2 with two digits at least) unless it equals the value the
    // slider showed before; stores it when the command was written. True when sent and stored.
    bool setLevel(Level level, int value, int shownBefore);

    // Whether the matrix can take the text: no ";" (it ends a command), only characters its code
    // page carries (what is stored is then what was sent) and at most 64 bytes.
    static bool subtitleAcceptable(const QString& text);
    // Sends the subtitle text when it differs from the stored one; stores it when written.
    bool setSubtitle(const QString& text);
};
