<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW" sourcelanguage="zh_CN">
<context>
    <name>PortRangeBar</name>
    <message>
        <source>选择</source>
        <translation>選擇</translation>
    </message>
    <message>
        <source>取消选择</source>
        <translation>取消選擇</translation>
    </message>
    <message>
        <source>全选</source>
        <translation>全選</translation>
    </message>
    <message>
        <source>从</source>
        <translation>從</translation>
    </message>
    <message>
        <source>到</source>
        <translation>到</translation>
    </message>
</context>
</TS>
