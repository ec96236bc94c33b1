#pragma once

#include <QObject>
#include <QString>

// Card types and matrix models, registered with the meta-object system so that the key of a value
// can be read at run time (the key names the template file of a card type).
class PublicClass
{
    Q_GADGET
public:
    enum eCARD_TYPE {
        eCARD_TYPE_NONE = 0,
        eCARD_TYPE_HDMI_I = 1,
        eCARD_TYPE_HDMI_O = 2,
        eCARD_TYPE_DVI_I = 3,
        eCARD_TYPE_DVI_O = 4,
        eCARD_TYPE_SDI_I = 5,
        eCARD_TYPE_SDI_O = 6,
        eCARD_TYPE_VGA_I = 7,
        eCARD_TYPE_VGA_O = 8,
        eCARD_TYPE_AV_I = 9,
        eCARD_TYPE_AV_O = 10,
        eCARD_TYPE_HDMI_SDI_2HDMI_I = 11,
        eCARD_TYPE_HDMI_SDI_2SDI_I = 12,
        eCARD_TYPE_HDMI_SDI_2HDMI_O = 13,
        eCARD_TYPE_HDMI_SDI_2SDI_O = 14,
        eCARD_TYPE_HDMI_VGA_2HDMI_I = 15,
        eCARD_TYPE_HDMI_VGA_2VGA_I = 16,
        eCARD_TYPE_HDMI_VGA_2HDMI_O = 17,
        eCARD_TYPE_HDMI_VGA_2VGA_O = 18,
        eCARD_TYPE_HDBT_I = 19,
        eCARD_TYPE_HDBT_O = 20,
        eCARD_TYPE_Fiber_I = 21,
        eCARD_TYPE_Fiber_O = 22,
        eCARD_TYPE_4K_HDMI_I = 23,
        eCARD_TYPE_4K_HDMI_O = 24,
        eCARD_TYPE_4K_Fiber_I = 25,
        eCARD_TYPE_4K_Fiber_O = 26,
        eCARD_TYPE_4K_HDBT_I = 27,
        eCARD_TYPE_4K_HDBT_O = 28,
        eCARD_TYPE_Preview_O = 156,
        eCARD_TYPE_IP_I = 157,
        eCARD_TYPE_SYSTEM = 158
    };
    Q_ENUM(eCARD_TYPE)

    // The value is the number of ports per side.
    enum eDEVICE_TYPE {
        _4x4 = 4,
        _8x8 = 8,
        _16x16 = 16,
        _32x32 = 32,
        _64x64 = 64,
        _96x96 = 96,
        _128x128 = 128,
        _144x144 = 144,
        _160x160 = 160
    };
    Q_ENUM(eDEVICE_TYPE)
};

using eCARD_TYPE = PublicClass::eCARD_TYPE;
using eDEVICE_TYPE = PublicClass::eDEVICE_TYPE;

// Word for a card type. Mode 0: display word ("HDMI", "HDMI&SDI", "Preview"); mode 2: port kind
// that names the template file ("HDMI I", "SDI O", "SYSTEM"). Empty for a value without a key.
QString cardTypeName(int cardType, int mode);

// A real card type: neither NONE nor the system pseudo type (unassigned values in between count).
bool isValidEnumValue(int v);

// Template path "data/command<language>/<mode-2 word>.ini", relative to the working directory.
QString commandFilePath(int cardType);

// Command template of (card type, section, key) in the current language; empty when the file,
// section or key is missing. Every call reads the file afresh.
QString getCommand(int cardType, const QString& section, const QString& key);
