#pragma once

#include "core/MatrixCommands.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

class OptionGroup;

// What a card settings panel does to its selected port, without widgets: read the port's
// "in-card" or "out-card" from the model, send a setting's command and, once the matrix link took
// it, store that one setting. Nothing is sent and nothing stored before a port is selected or for
// a port whose card type is not a real one.
class CardPortSettings
{
public:
    // side: CardKey::InCard or CardKey::OutCard. Commands go through the matrix link unless a
    // sender is given.
    explicit CardPortSettings(const QString& side, CommandSender sender = CommandSender());
    virtual ~CardPortSettings() = default;

    void select(int port) { selected = port; }
    int port() const { return selected; }
    bool hasPort() const { return selected >= 0; }

    // The port's record side as the model holds it now; empty before a selection.
    QJsonObject record() const;
    int cardType() const;
    // A port is selected and its card type is a real one (1..157).
    bool hasValidType() const;
    // "name", or the display word of the card type, "-" and the port number.
    QString displayName() const;
    // An integer setting; fallback when it is not stored.
    int storedInt(const QString& key, int fallback) const;

    // Stores the name of a port (the one its name field was filled for, which need not be the
    // selected one any more) when it differs from the stored one; no command. True when stored.
    bool rename(int port, const QString& text);
    // Sends the choice of an option group entry and stores its position under key on success.
    bool chooseOption(const QString& group, const QString& key, int index, const QString& text);
    // The position shown for an option setting: the stored one, else fallback.
    int optionIndex(const QString& key, int fallback) const { return storedInt(key, fallback); }

    // Reads an option group of the port's card type.
    OptionGroup readGroup(const QString& group) const;

protected:
    const MatrixCommands& commands() const { return matrix; }
    // Stores one setting of a port (not necessarily the selected one: a command's wait may have
    // let the operator select another port meanwhile).
    void store(int port, const QString& key, const QJsonValue& value) const;

private:
    QString sideKey;
    MatrixCommands matrix;
    int selected = -1;
};
