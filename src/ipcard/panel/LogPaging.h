#pragma once

// The entries of the last log search, shown sixteen to a page.

#include "LogProto.pb.h"

#include <QString>
#include <QVector>

class LogPaging
{
public:
    static constexpr int RowsPerPage = 16;

    struct Row
    {
        QString number;    // 1 to 16 on each page
        QString type;      // the schema's name of the entry type; empty for an unknown value
        QString time;      // local time, "yyyy-MM-dd HH:mm:ss"
        QString content;
    };

    // Back to no search: no entries, page 0 of 0.
    void clear();
    // The entries of a search, showing the first page.
    void setEntries(com::kiv::protobuf::LogSearchResponse response);

    int count() const { return entries.logs_size(); }
    int pageCount() const { return (count() + RowsPerPage - 1) / RowsPerPage; }
    int page() const { return current; }

    // Move one page on or back when there is one; false when the page stays.
    bool nextPage();
    bool previousPage();

    // "<page + 1>/<page count>".
    QString pageLabel() const;
    QVector<Row> rows() const;

    static QString typeName(int type);
    static QString timeText(quint64 msSinceEpoch);

private:
    com::kiv::protobuf::LogSearchResponse entries;
    int current = 0;
};
