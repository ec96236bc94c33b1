<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>AccountRules</name>
    <message>
        <source>用户名不能为空！</source>
        <translation>User name cannot be empty!</translation>
    </message>
    <message>
        <source>用户名太长：最多99个字节！</source>
        <translation>The user name is too long: at most 99 bytes!</translation>
    </message>
    <message>
        <source>密码不能为空！</source>
        <translation>Password cannot be empty!</translation>
    </message>
    <message>
        <source>密码太长：最多48个字符！</source>
        <translation>The password is too long: at most 48 characters!</translation>
    </message>
    <message>
        <source>密码只能包含西文字母、数字和符号（Latin-1字符）！</source>
        <translation>The password may contain only Western letters, digits and symbols (Latin-1 characters)!</translation>
    </message>
    <message>
        <source>用户名不能包含控制字符或不可见字符，首尾不能有空白！</source>
        <translation>The user name cannot contain control or invisible characters, nor begin or end with white space!</translation>
    </message>
</context>
<context>
    <name>PasswordChange</name>
    <message>
        <source>修改密码成功！</source>
        <translation>Password changed!</translation>
    </message>
    <message>
        <source>获取用户信息失败！</source>
        <translation>Failed to get the user&apos;s information!</translation>
    </message>
    <message>
        <source>旧密码错误！</source>
        <translation>The old password is wrong!</translation>
    </message>
    <message>
        <source>修改密码失败！</source>
        <translation>Failed to change the password!</translation>
    </message>
</context>
<context>
    <name>UserBackup</name>
    <message>
        <source>登录时用这个名称找不到该管理员</source>
        <translation>a login by this name does not find this administrator</translation>
    </message>
    <message>
        <source>密码不是登录能比对的密码变换</source>
        <translation>the stored password is not a password transform that a login can match</translation>
    </message>
    <message>
        <source>管理员“%1”（Id %2）：%3</source>
        <translation>Administrator &quot;%1&quot; (Id %2): %3</translation>
    </message>
    <message>
        <source>备份中没有名称可见、能够登录的管理员</source>
        <translation>The backup has no administrator with a visible name who can log in.</translation>
    </message>
    <message>
        <source>备份文件无法读取或已损坏</source>
        <translation>The backup file cannot be read or is damaged.</translation>
    </message>
    <message>
        <source>备份中没有用户列表</source>
        <translation>The backup holds no user list.</translation>
    </message>
    <message>
        <source>用户数据文件无法写入</source>
        <translation>The user data file cannot be written.</translation>
    </message>
    <message>
        <source>名称以组合符号开头，登录时无法照原样输入</source>
        <translation>the name begins with a combining mark and cannot be typed as it reads at the login</translation>
    </message>
    <message>
        <source>密码去掉首尾空白后为空，登录时无法输入</source>
        <translation>the password is empty without its outer white space: a login cannot take it</translation>
    </message>
    <message>
        <source>备份过大：导入最多接受 %1 MiB 的用户数据</source>
        <translation>The backup is too large: an import takes at most %1 MiB of user data.</translation>
    </message>
    <message>
        <source>用户数据超过备份能容纳的 %1 MiB</source>
        <translation>The user database is larger than a backup can hold (%1 MiB).</translation>
    </message>
</context>
</TS>
