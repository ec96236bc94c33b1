#pragma once

#include "pages/cardsettings/CardPortSettings.h"

// The output card settings of the selected port: option groups, the brightness, contrast and
// saturation steps, and for a preview output card its stream choice and network address.
class OutputCardSettings : public CardPortSettings
{
public:
    enum class AddressChange { NotPreviewCard, Invalid, Refused, Changed };

    explicit OutputCardSettings(CommandSender sender = CommandSender());

    // Sends one step ("CONFIG" key such as "AddBrightness") and waits for the answer; nothing is
    // stored. False when nothing could be sent or the matrix refused it.
    bool step(const QString& configKey);

    // The selected port is one of a preview output card: the only port the preview settings
    // below act on (the preview page stays up when a port without a card is selected after it).
    bool isPreviewCard() const;

    // Stores the preview stream (0 main, 1 sub) when it differs from the stored one.
    bool setPreviewStream(int stream);

    // Changes the preview card's address on the matrix: "USER/O/<port>:" + the four address bytes
    // + "%;", sent as Latin-1 and waited for; the address is stored only when the matrix took it.
    AddressChange changePreviewAddress(const QString& address);
    // The command bytes as characters 0..255 (for a Latin-1 send); empty for a text that is not
    // a dotted IPv4 address.
    static QString previewAddressCommand(int portNumber, const QString& address);
};
