#pragma once

#include <QList>
#include <QString>

// Commands of the system template file (section "COMMAND"): the template filled with decimal
// numbers in placeholder order and sent through the matrix link.
namespace SystemCommand {

// The filled template; empty when the template is missing.
QString build(const QString& key, const QList<int>& numbers = {});

// Sends build(key, numbers) in the local 8-bit encoding; the link's result. False, and nothing
// sent, when the template is missing.
bool send(const QString& key, const QList<int>& numbers, bool waitReply);

} // namespace SystemCommand
