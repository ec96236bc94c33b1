<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>CSysConfigWidget</name>
    <message>
        <source>修改密码</source>
        <translation>Change Password</translation>
    </message>
    <message>
        <source>发送</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>清除窗口</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>中文简体</source>
        <translation>Simplified Chinese</translation>
    </message>
    <message>
        <source>中文繁體</source>
        <translation>Traditional Chinese</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>型号：</source>
        <translation>Matrix Type:</translation>
    </message>
    <message>
        <source>名称：</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>管理账号：</source>
        <translation>Admin Account:</translation>
    </message>
    <message>
        <source>管理员密码：</source>
        <translation>Admin Password:</translation>
    </message>
    <message>
        <source>IP地址：</source>
        <translation>IP Addr:</translation>
    </message>
    <message>
        <source>端口号：</source>
        <translation>TCP Port:</translation>
    </message>
    <message>
        <source>语言：</source>
        <translation>Language:</translation>
    </message>
    <message>
        <source>发送代码：</source>
        <translation>SendCode:</translation>
    </message>
    <message>
        <source>反馈信息：</source>
        <translation>Receive:</translation>
    </message>
    <message>
        <source>设备连接已断开</source>
        <translation>The connection to the device was broken</translation>
    </message>
    <message>
        <source>连接设备成功</source>
        <translation>Connected to the device</translation>
    </message>
    <message>
        <source>连接设备超时</source>
        <translation>Connecting to the device timed out</translation>
    </message>
    <message>
        <source>设备的编码（GB2312）中没有这些字符，设备收到的将与输入不同：%1</source>
        <translation>The device&apos;s encoding (GB2312) has no such characters; the device will not receive them as typed: %1</translation>
    </message>
</context>
</TS>
