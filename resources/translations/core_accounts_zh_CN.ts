<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="zh_CN">
<context>
    <name>AccountRules</name>
    <message>
        <source>用户名不能为空！</source>
        <translation>用户名不能为空！</translation>
    </message>
    <message>
        <source>用户名太长：最多99个字节！</source>
        <translation>用户名太长：最多99个字节！</translation>
    </message>
    <message>
        <source>密码不能为空！</source>
        <translation>密码不能为空！</translation>
    </message>
    <message>
        <source>密码太长：最多48个字符！</source>
        <translation>密码太长：最多48个字符！</translation>
    </message>
    <message>
        <source>密码只能包含西文字母、数字和符号（Latin-1字符）！</source>
        <translation>密码只能包含西文字母、数字和符号（Latin-1字符）！</translation>
    </message>
    <message>
        <source>用户名不能包含控制字符或不可见字符，首尾不能有空白！</source>
        <translation>用户名不能包含控制字符或不可见字符，首尾不能有空白！</translation>
    </message>
</context>
<context>
    <name>PasswordChange</name>
    <message>
        <source>修改密码成功！</source>
        <translation>修改密码成功！</translation>
    </message>
    <message>
        <source>获取用户信息失败！</source>
        <translation>获取用户信息失败！</translation>
    </message>
    <message>
        <source>旧密码错误！</source>
        <translation>旧密码错误！</translation>
    </message>
    <message>
        <source>修改密码失败！</source>
        <translation>修改密码失败！</translation>
    </message>
</context>
<context>
    <name>UserBackup</name>
    <message>
        <source>登录时用这个名称找不到该管理员</source>
        <translation>登录时用这个名称找不到该管理员</translation>
    </message>
    <message>
        <source>密码不是登录能比对的密码变换</source>
        <translation>密码不是登录能比对的密码变换</translation>
    </message>
    <message>
        <source>管理员“%1”（Id %2）：%3</source>
        <translation>管理员“%1”（Id %2）：%3</translation>
    </message>
    <message>
        <source>备份中没有名称可见、能够登录的管理员</source>
        <translation>备份中没有名称可见、能够登录的管理员</translation>
    </message>
    <message>
        <source>备份文件无法读取或已损坏</source>
        <translation>备份文件无法读取或已损坏</translation>
    </message>
    <message>
        <source>备份中没有用户列表</source>
        <translation>备份中没有用户列表</translation>
    </message>
    <message>
        <source>用户数据文件无法写入</source>
        <translation>用户数据文件无法写入</translation>
    </message>
    <message>
        <source>名称以组合符号开头，登录时无法照原样输入</source>
        <translation>名称以组合符号开头，登录时无法照原样输入</translation>
    </message>
    <message>
        <source>密码去掉首尾空白后为空，登录时无法输入</source>
        <translation>密码去掉首尾空白后为空，登录时无法输入</translation>
    </message>
    <message>
        <source>备份过大：导入最多接受 %1 MiB 的用户数据</source>
        <translation>备份过大：导入最多接受 %1 MiB 的用户数据</translation>
    </message>
    <message>
        <source>用户数据超过备份能容纳的 %1 MiB</source>
        <translation>用户数据超过备份能容纳的 %1 MiB</translation>
    </message>
</context>
</TS>