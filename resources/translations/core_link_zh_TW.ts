<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW" sourcelanguage="zh_CN">
<context>
    <name>CCHelper</name>
    <message>
        <source>打开串口失败！</source>
        <translation>打開串口失敗！</translation>
    </message>
    <message>
        <source>打开串口成功！</source>
        <translation>打開串口成功！</translation>
    </message>
    <message>
        <source>发送数据失败: %1</source>
        <translation>發送數據失敗: %1</translation>
    </message>
    <message>
        <source>通讯错误: </source>
        <translation>通訊錯誤: </translation>
    </message>
    <message>
        <source>正在重连...</source>
        <translation>正在重連...</translation>
    </message>
</context>
</TS>
