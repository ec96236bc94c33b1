<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>CCHelper</name>
    <message>
        <source>打开串口失败！</source>
        <translation>Failed to open the serial port!</translation>
    </message>
    <message>
        <source>打开串口成功！</source>
        <translation>Serial port opened!</translation>
    </message>
    <message>
        <source>发送数据失败: %1</source>
        <translation>Sending failed: %1</translation>
    </message>
    <message>
        <source>通讯错误: </source>
        <translation>Communication error: </translation>
    </message>
    <message>
        <source>正在重连...</source>
        <translation>Reconnecting...</translation>
    </message>
</context>
</TS>
