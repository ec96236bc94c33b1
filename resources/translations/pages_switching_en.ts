<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>MCenterMainWindow</name>
    <message>
        <source>切换所有</source>
        <translation>Switch All</translation>
    </message>
    <message>
        <source>关闭所有</source>
        <translation>Close All</translation>
    </message>
    <message>
        <source>下一页</source>
        <translation>PageDown</translation>
    </message>
    <message>
        <source>上一页</source>
        <translation>PageUp</translation>
    </message>
    <message>
        <source>输
入</source>
        <translation>I
n
p
u
t</translation>
    </message>
    <message>
        <source>视频预览</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>场
景</source>
        <translation>S
c
e
n
e</translation>
    </message>
</context>
<context>
    <name>MInputListWidget</name>
    <message>
        <source>输入列表</source>
        <translation>Input List</translation>
    </message>
</context>
<context>
    <name>MSenceListWidget</name>
    <message>
        <source>场景保存</source>
        <translation>Scene Save</translation>
    </message>
    <message>
        <source>场景调用</source>
        <translation>Scene Call</translation>
    </message>
    <message>
        <source>场景删除</source>
        <translation>Scene delete</translation>
    </message>
    <message>
        <source>场景列表</source>
        <translation>Scene List</translation>
    </message>
    <message>
        <source>场景%1</source>
        <translation>Scene%1</translation>
    </message>
    <message>
        <source>调用场景失败！</source>
        <translation>Call scene failed!</translation>
    </message>
    <message>
        <source>调用场景成功！</source>
        <translation>Call scene success!</translation>
    </message>
    <message>
        <source>删除场景成功！</source>
        <translation>Delete scene success!</translation>
    </message>
    <message>
        <source>删除场景失败！</source>
        <translation>Delete scene failed!</translation>
    </message>
    <message>
        <source>保存场景成功！</source>
        <translation>Save scene success!</translation>
    </message>
    <message>
        <source>保存场景失败！</source>
        <translation>Save scene failed!</translation>
    </message>
</context>
<context>
    <name>ScreenWidget</name>
    <message>
        <source>无</source>
        <translation>nothing</translation>
    </message>
</context>
</TS>
