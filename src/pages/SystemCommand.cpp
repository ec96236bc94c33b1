#include "SystemCommand.h"

#include "CCHelper.h"
#include "PublicClass.h"

#include <QtDebug>

namespace SystemCommand {

QString build(const QString& key, const QList<int>& numbers)
{
    QString text = getCommand(PublicClass::eCARD_TYPE_SYSTEM, QStringLiteral("COMMAND"), key);
    if (text.isEmpty())
        return text;
    for (int n : numbers)
        text = text.arg(n);
    return text;
}

bool send(const QString& key, const QList<int>& numbers, bool waitReply)
{
    const QString command = build(key, numbers);
    // The link counts an empty command as sent: without a template nothing reaches the matrix,
    // and a scene must not be reported as saved or recalled.
    if (command.trimmed().isEmpty()) {
        qWarning().noquote() << "no command template COMMAND/" + key;
        return false;
    }
    QString reply;
    QByteArray replyBytes;
    return CCHelper::instance()->sendData(command, waitReply, reply, replyBytes, false);
}

} // namespace SystemCommand
