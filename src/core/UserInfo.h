#pragma once

#include <QMap>
#include <QString>
#include <QtGlobal>

// One operator account. The three texts are fixed 100-byte UTF-8 buffers, zero-terminated.
// The default record (Id -1) is what lookups return for "not found".
struct User_Info
{
    static constexpr int TextSize = 100;

    qint64 Id = -1;
    int Group = 1;                  // 0 administrator, 1 ordinary user
    char UserName[TextSize] = {};
    char PassWord[TextSize] = {};   // hexadecimal password transform
    char Description[TextSize] = {};
    QMap<int, bool> inputRights;    // port index -> permitted
    QMap<int, bool> outputRights;

    User_Info() = default;
    User_Info(const User_Info& other) = default;
    User_Info& operator=(const User_Info& other) = default;

    QString userName() const;
    QString passWord() const;
    QString description() const;
    // Copy a text into its buffer; a text longer than 99 bytes is cut at a character boundary.
    void setUserName(const QString& text);
    void setPassWord(const QString& text);
    void setDescription(const QString& text);
};
