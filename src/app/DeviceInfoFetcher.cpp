#include "app/DeviceInfoFetcher.h"

#include "app/ClientConfig.h"
#include "core/CardTypeLetter.h"
#include "core/GlobalState.h"
#include "core/PublicClass.h"
#include "framework/Utilities.h"
#include "platform/DeviceLogText.h"

#include <QDebug>
#include <QSettings>

DeviceInfoFetcher::DeviceInfoFetcher(StatusSink status, CommandSender commandSender)
    : statusSink(std::move(status))
    , commands(std::move(commandSender))
{
}

void DeviceInfoFetcher::status(const QString& text) const
{
    if (statusSink)
        statusSink(text);
}

bool DeviceInfoFetcher::send(const QString& key, QString* reply)
{
    CommandReply answer;
    const bool ok = commands.sendSystem(key, {}, true, &answer);
    if (reply)
        *reply = answer.text;
    return ok;
}

bool DeviceInfoFetcher::ask(const QString& key, ReplyParser::LoneLine lone, QString* answer)
{
    QString reply;
    if (!send(key, &reply))
        return false;
    qDebug() << "设备返回：" << key << DeviceLogText::excerpt(reply);
    *answer = ReplyParser::answerLine(reply, lone);
    if (answer->isEmpty()) {
        qWarning().noquote() << key << QStringLiteral("的回复中只有状态报告，没有应答行：")
                             << DeviceLogText::excerpt(reply);
        return false;
    }
    return true;
}

QString DeviceInfoFetcher::lettersOfReply(const QString& reply)
{
    const QString trimmed = reply.trimmed();
    const int n = trimmed.size();
    return n > 4 ? trimmed.mid(3, n - 4) : QString();
}

QString DeviceInfoFetcher::outputLettersOf96(const QString& stored, const QString& reply)
{
    QString head = stored.left(2);
    while (head.size() < 2)
        head.append(QLatin1Char('*'));
    // The reply's last character closes the list like on every other model: it is no letter.
    const QString trimmed = reply.trimmed();
    const int n = trimmed.size();
    return head + (n > 6 ? trimmed.mid(5, n - 6) : QString());
}

bool DeviceInfoFetcher::run()
{
    status(tr("连接设备成功，正在获取数据..."));
    QSettings settings(ClientConfig::path(), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("DEVICE_INFO"));
    settings.setValue(QStringLiteral("BackPanelVer"), QString());
    settings.setValue(QStringLiteral("FrontPanelVer"), QString());

    bool complete = false;
    QString failure;
    QString reply;
    status(tr("正在获取板卡信息！"));
    send(QStringLiteral("InitCardList"), nullptr);
    delayMs(400);

    status(tr("正在获取输入板卡信息！"));
    if (!ask(QStringLiteral("InCardList"), ReplyParser::LoneLine::Report, &reply)) {
        failure = tr("获取输入板卡信息失败！");
    } else {
        g_inCardTypes = CardTypeLetter::withinModel(lettersOfReply(reply), "input card list");
        qDebug() << "输入板卡列表" << g_inCardTypes;

        status(tr("正在获取输出板卡信息！"));
        if (!ask(QStringLiteral("OutCardList"), ReplyParser::LoneLine::Report, &reply)) {
            failure = tr("获取输出板卡信息失败！");
        } else {
            g_outCardTypes = CardTypeLetter::withinModel(g_deviceModel == PublicClass::_96x96
                                                             ? outputLettersOf96(g_outCardTypes, reply)
                                                             : lettersOfReply(reply),
                                                         "output card list");
            qDebug() << "输出板卡列表" << g_outCardTypes;

            send(QStringLiteral("ReleaseCardList"), nullptr);

            status(tr("正在获取设备版本信息！"));
            // The answer's line only, without its line end, which the INI file would keep escaped.
            // A version may read as a report ("Ver 2.0A" as a route list): alone, it is the answer.
            if (ask(QStringLiteral("FrontPanelVer"), ReplyParser::LoneLine::Answer, &reply))
                settings.setValue(QStringLiteral("FrontPanelVer"), reply);
            if (ask(QStringLiteral("BackPanelVer"), ReplyParser::LoneLine::Answer, &reply))
                settings.setValue(QStringLiteral("BackPanelVer"), reply);
            if (send(QStringLiteral("KeyBoardLock"), &reply))
                settings.setValue(QStringLiteral("KeyBoardLock"),
                                  reply.contains(QLatin1String("Locked")) ? 0 : 1);
            complete = true;
        }
    }
    status(complete ? tr("获取数据完成！") : failure);
    settings.endGroup();
    settings.sync();
    return complete;
}
