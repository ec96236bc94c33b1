<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW" sourcelanguage="zh_CN">
<context>
    <name>EDIDOutListWidget</name>
    <message>
        <source>内置EDID列表</source>
        <translation>內建EDID列表</translation>
    </message>
</context>
<context>
    <name>MEDIDSettingWidget</name>
    <message>
        <source>下一页</source>
        <translation>下一頁</translation>
    </message>
    <message>
        <source>上一页</source>
        <translation>上一頁</translation>
    </message>
</context>
</TS>
