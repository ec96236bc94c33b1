<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="zh_CN">
<context>
    <name>PortRangeBar</name>
    <message>
        <source>选择</source>
        <translation>选择</translation>
    </message>
    <message>
        <source>取消选择</source>
        <translation>取消选择</translation>
    </message>
    <message>
        <source>全选</source>
        <translation>全选</translation>
    </message>
    <message>
        <source>从</source>
        <translation>从</translation>
    </message>
    <message>
        <source>到</source>
        <translation>到</translation>
    </message>
</context>
</TS>