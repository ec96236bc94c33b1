#include "ipcard/panel/LogPaging.h"

#include <QDateTime>

using namespace com::kiv::protobuf;

void LogPaging::clear()
{
    entries.Clear();
    current = 0;
}

void LogPaging::setEntries(LogSearchResponse response)
{
    entries = std::move(response);
    current = 0;
}

bool LogPaging::nextPage()
{
    if (current + 1 >= pageCount())
        return false;
    ++current;
    return true;
}

bool LogPaging::previousPage()
{
    if (current <= 0)
        return false;
    --current;
    return true;
}

QString LogPaging::pageLabel() const
{
    return QStringLiteral("%1/%2").arg(current + 1).arg(pageCount());
}

QVector<LogPaging::Row> LogPaging::rows() const
{
    QVector<Row> page;
    const int first = current * RowsPerPage;
    const int end = qMin(count(), first + RowsPerPage);
    page.reserve(qMax(0, end - first));
    for (int i = first; i < end; ++i) {
        const Log& entry = entries.logs(i);
        page.append({QString::number(i - first + 1), typeName(entry.type()), timeText(entry.datatime()),
                     QString::fromStdString(entry.content())});
    }
    return page;
}

QString LogPaging::typeName(int type)
{
    if (!Log::E_LogType_IsValid(type))
        return QString();
    return QString::fromStdString(Log::E_LogType_Name(Log::E_LogType(type)));
}

QString LogPaging::timeText(quint64 msSinceEpoch)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(msSinceEpoch)).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}
