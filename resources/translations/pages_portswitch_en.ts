<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>MatrixSwitchLeftWidget</name>
    <message>
        <source>用户名：</source>
        <translation>User name:</translation>
    </message>
    <message>
        <source>原密码：</source>
        <translation>Old password:</translation>
    </message>
    <message>
        <source>新密码：</source>
        <translation>New password:</translation>
    </message>
    <message>
        <source>修改密码</source>
        <translation>Change Password</translation>
    </message>
    <message>
        <source>输入列表</source>
        <translation>Input list</translation>
    </message>
    <message>
        <source>输出列表</source>
        <translation>Output list</translation>
    </message>
</context>
<context>
    <name>MatrixSwitchRightWidget</name>
    <message>
        <source>输入</source>
        <translation>Input</translation>
    </message>
    <message>
        <source>输出</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>确认切换</source>
        <translation>Confirm switching</translation>
    </message>
    <message>
        <source>关闭所选</source>
        <translation>Close selected</translation>
    </message>
    <message>
        <source>关闭所有</source>
        <translation>Close all</translation>
    </message>
    <message>
        <source>请选择输入！</source>
        <translation>Please select an input!</translation>
    </message>
    <message>
        <source>请选择输出！</source>
        <translation>Please select an output!</translation>
    </message>
</context>
</TS>
