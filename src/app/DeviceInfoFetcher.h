#pragma once

#include "core/MatrixCommands.h"
#include "core/ReplyParser.h"

#include <QCoreApplication>
#include <QString>

#include <functional>

// What the login asks the matrix once connected: the card-type letters of the input and output
// slots (into g_inCardTypes / g_outCardTypes), the panel firmware versions and the front-panel
// lock (into the DEVICE_INFO group of data/ClientConfig.dat).
class DeviceInfoFetcher
{
    Q_DECLARE_TR_FUNCTIONS(DeviceInfoFetcher)

public:
    using StatusSink = std::function<void(const QString&)>;

    // status receives every progress text; the link is the matrix link unless a test sets one.
    explicit DeviceInfoFetcher(StatusSink status, CommandSender sender = CommandSender());

    // Runs the whole fetch. False when a card list was not answered; the letters then keep what
    // they held (the output letters also when only the output list failed). The letters and the
    // versions come from the answer's own line, whatever reports arrived with it.
    bool run();

    // The slot letters of a card-list reply: its trimmed text without the first three and the
    // last character ("IC[abcd]" gives "abcd"); four characters or fewer give none.
    static QString lettersOfReply(const QString& reply);
    // The output letters of a 96-port model: the first two stored letters stay (an empty slot
    // "*" where there are none) and the reply's letters from its sixth character follow.
    static QString outputLettersOf96(const QString& stored, const QString& reply);

private:
    bool send(const QString& key, QString* reply);
    // Sends a query and takes its answer's own line (ReplyParser::answerLine): the reports that
    // came in the same reply are not part of it. False when it was not answered, or when the reply
    // held reports only (the answer did not come in time); a reply of one report-like line is the
    // answer when lone says so.
    bool ask(const QString& key, ReplyParser::LoneLine lone, QString* answer);
    void status(const QString& text) const;

    StatusSink statusSink;
    MatrixCommands commands;
};
