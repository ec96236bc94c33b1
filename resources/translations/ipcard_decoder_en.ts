<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>DecoderConfigWidget</name>
    <message>
        <source>解码器控制</source>
        <translation>Decoder control</translation>
    </message>
    <message>
        <source>视频源列表</source>
        <translation>Video source list</translation>
    </message>
    <message>
        <source>云台控制</source>
        <translation>Pan-tilt control</translation>
    </message>
    <message>
        <source>画面模式</source>
        <translation>View Mode</translation>
    </message>
    <message>
        <source>单画面</source>
        <translation>A single picture</translation>
    </message>
    <message>
        <source>两画面</source>
        <translation>The two pictures</translation>
    </message>
    <message>
        <source>四画面</source>
        <translation>Four images</translation>
    </message>
    <message>
        <source>九画面</source>
        <translation>Nine images</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>更新配置</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>解码器正在使用未知的画面模式%1</source>
        <translation>The decoder reports an unknown view mode %1</translation>
    </message>
    <message>
        <source>保存成功！</source>
        <translation>Saved successfully!</translation>
    </message>
    <message>
        <source>更新成功！</source>
        <translation>Updated successfully!</translation>
    </message>
</context>
</TS>
