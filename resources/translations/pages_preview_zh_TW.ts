<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW" sourcelanguage="zh_CN">
<context>
    <name>MPreviewListWidget</name>
    <message>
        <source>无</source>
        <translation>無</translation>
    </message>
</context>
<context>
    <name>PreviewControlWidget</name>
    <message>
        <source>无信号</source>
        <translation>無訊號</translation>
    </message>
</context>
</TS>
