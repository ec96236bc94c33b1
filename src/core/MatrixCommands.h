#pragma once

#include "core/LinkSender.h"

#include <QByteArray>
#include <QList>
#include <QString>

// One argument of a command template: a decimal number or a text, filled in as it stands.
struct CommandArg
{
    CommandArg(int number) : text(QString::number(number)) {}
    CommandArg(const QString& value) : text(value) {}
    CommandArg(const char* value) : text(QString::fromUtf8(value)) {}
    QString text;
};
using CommandArgs = QList<CommandArg>;

// What the matrix answered to a waited command.
struct CommandReply
{
    QString text;
    QByteArray bytes;
};

// The one way the console fills and sends the matrix's command templates. A missing template
// file, section or key is a failure (with a warning in the log), never an empty command that
// counts as sent.
class MatrixCommands
{
public:
    // Sends through the matrix link unless a sender is given (tests put a recorder there).
    explicit MatrixCommands(CommandSender sender = CommandSender());

    // The template of (card type, section, key) with its placeholders filled in one pass: the
    // lowest-numbered placeholder takes the first argument, and so on, so that an argument that
    // itself holds "%1" stays as it is. Empty, with a warning, when the template is missing.
    static QString build(int cardType, const QString& section, const QString& key,
                         const CommandArgs& args = {});
    // A key of the system file's "COMMAND" section.
    static QString buildSystem(const QString& key, const CommandArgs& args = {});
    // Fills placeholders as build() does.
    static QString fill(const QString& pattern, const CommandArgs& args);

    // Builds and sends; false, with nothing sent, when the template is missing. Template commands
    // go out in the local code page.
    bool send(int cardType, const QString& section, const QString& key, const CommandArgs& args,
              bool waitReply, CommandReply* reply = nullptr) const;
    bool sendSystem(const QString& key, const CommandArgs& args, bool waitReply,
                    CommandReply* reply = nullptr) const;
    // A literal command text (not from a template); latin1 sends its characters as bytes.
    bool sendText(const QString& command, bool waitReply, CommandReply* reply = nullptr,
                  bool latin1 = false) const;

private:
    CommandSender sender;
};
