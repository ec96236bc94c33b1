#include "core/PublicClass.h"

#include "core/GlobalState.h"

#include <QMetaEnum>
#include <QSettings>

namespace {

// Length of the common key prefix "eCARD_TYPE_".
constexpr int kPrefixLength = 11;

QString enumKey(int value)
{
    const QMetaEnum meta = QMetaEnum::fromType<PublicClass::eCARD_TYPE>();
    const char* key = meta.valueToKey(value);
    return key ? QString::fromLatin1(key) : QString();
}

// Mixed cards name the file of the kind of their half.
QString portKindKey(int cardType)
{
    switch (cardType) {
    case PublicClass::eCARD_TYPE_HDMI_SDI_2HDMI_I:
    case PublicClass::eCARD_TYPE_HDMI_VGA_2HDMI_I:
        return enumKey(PublicClass::eCARD_TYPE_HDMI_I);
    case PublicClass::eCARD_TYPE_HDMI_SDI_2SDI_I:
        return enumKey(PublicClass::eCARD_TYPE_SDI_I);
    case PublicClass::eCARD_TYPE_HDMI_SDI_2HDMI_O:
    case PublicClass::eCARD_TYPE_HDMI_VGA_2HDMI_O:
        return enumKey(PublicClass::eCARD_TYPE_HDMI_O);
    case PublicClass::eCARD_TYPE_HDMI_SDI_2SDI_O:
        return enumKey(PublicClass::eCARD_TYPE_SDI_O);
    case PublicClass::eCARD_TYPE_HDMI_VGA_2VGA_I:
        return enumKey(PublicClass::eCARD_TYPE_VGA_I);
    case PublicClass::eCARD_TYPE_HDMI_VGA_2VGA_O:
        return enumKey(PublicClass::eCARD_TYPE_VGA_O);
    default:
        return enumKey(cardType);
    }
}

QString displayKey(int cardType)
{
    if (cardType >= PublicClass::eCARD_TYPE_HDMI_SDI_2HDMI_I && cardType <= PublicClass::eCARD_TYPE_HDMI_SDI_2SDI_O)
        return QStringLiteral("eCARD_TYPE_HDMI&SDI");
    if (cardType >= PublicClass::eCARD_TYPE_HDMI_VGA_2HDMI_I && cardType <= PublicClass::eCARD_TYPE_HDMI_VGA_2VGA_O)
        return QStringLiteral("eCARD_TYPE_HDMI&VGA");
    return enumKey(cardType).chopped(2);
}

} // namespace

QString cardTypeName(int cardType, int mode)
{
    if (enumKey(cardType).isEmpty())
        return QString();
    QString word;
    if (mode == 0)
        word = displayKey(cardType);
    else if (mode == 2)
        word = portKindKey(cardType);
    else
        word = enumKey(cardType);
    return word.mid(kPrefixLength).replace(QLatin1Char('_'), QLatin1Char(' '));
}

bool isValidEnumValue(int v)
{
    return v >= 1 && v < PublicClass::eCARD_TYPE_SYSTEM;
}

QString commandFilePath(int cardType)
{
    return QStringLiteral("data/command%1/%2.ini").arg(g_languageIndex).arg(cardTypeName(cardType, 2));
}

QString getCommand(int cardType, const QString& section, const QString& key)
{
    QSettings settings(commandFilePath(cardType), QSettings::IniFormat);
    return settings.value(QStringLiteral("%1/%2").arg(section, key)).toString();
}
