<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>EDIDOutListWidget</name>
    <message>
        <source>内置EDID列表</source>
        <translation>Built-in EDID list</translation>
    </message>
</context>
<context>
    <name>MEDIDSettingWidget</name>
    <message>
        <source>下一页</source>
        <translation>PageDown</translation>
    </message>
    <message>
        <source>上一页</source>
        <translation>PageUp</translation>
    </message>
</context>
</TS>
