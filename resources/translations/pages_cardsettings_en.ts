<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>InputDataSettingWidget</name>
    <message>
        <source>板卡名称：</source>
        <translation>Card Name:</translation>
    </message>
    <message>
        <source>信号格式：</source>
        <translation>Format:</translation>
    </message>
    <message>
        <source>音   频：</source>
        <translation>audio:</translation>
    </message>
    <message>
        <source>字   幕：</source>
        <translation>subtitle:</translation>
    </message>
    <message>
        <source>内   容：</source>
        <translation>content:</translation>
    </message>
    <message>
        <source>位   置：</source>
        <translation>pos:</translation>
    </message>
    <message>
        <source>颜   色：</source>
        <translation>color:</translation>
    </message>
    <message>
        <source>色   度：</source>
        <translation>Color:</translation>
    </message>
    <message>
        <source>亮   度：</source>
        <translation>brightness:</translation>
    </message>
    <message>
        <source>对比度：</source>
        <translation>contrast:</translation>
    </message>
    <message>
        <source>锐   度：</source>
        <translation>sharpness:</translation>
    </message>
    <message>
        <source>InputDataSettingWidget</source>
        <translation>InputDataSettingWidget</translation>
    </message>
    <message>
        <source>关</source>
        <translation>close</translation>
    </message>
    <message>
        <source>开</source>
        <translation>open</translation>
    </message>
    <message>
        <source>左上角</source>
        <translation>top left</translation>
    </message>
    <message>
        <source>右上角</source>
        <translation>right top</translation>
    </message>
    <message>
        <source>左下角</source>
        <translation>left bottom</translation>
    </message>
    <message>
        <source>右下角</source>
        <translation>right bottom</translation>
    </message>
    <message>
        <source>白色</source>
        <translation>white</translation>
    </message>
    <message>
        <source>红色</source>
        <translation>red</translation>
    </message>
    <message>
        <source>绿色</source>
        <translation>green</translation>
    </message>
    <message>
        <source>蓝色</source>
        <translation>blue</translation>
    </message>
    <message>
        <source>黑色</source>
        <translation>black</translation>
    </message>
    <message>
        <source>无法访问设备，请确认IP!</source>
        <translation>Unable to access the device, please confirm IP!</translation>
    </message>
</context>
<context>
    <name>MInputCardSetting</name>
    <message>
        <source>输入列表</source>
        <translation>Input List</translation>
    </message>
</context>
<context>
    <name>MOutputCardSetting</name>
    <message>
        <source>输出列表</source>
        <translation>Output List</translation>
    </message>
</context>
<context>
    <name>OutDataSettingWidget</name>
    <message>
        <source>板卡名称：</source>
        <translation>Card Name:</translation>
    </message>
    <message>
        <source>分辨率：</source>
        <translation>resolution:</translation>
    </message>
    <message>
        <source>音频：</source>
        <translation>audio:</translation>
    </message>
    <message>
        <source>信号格式：</source>
        <translation>Format:</translation>
    </message>
    <message>
        <source>亮度：</source>
        <translation>brightness:</translation>
    </message>
    <message>
        <source>对比度：</source>
        <translation>contrast:</translation>
    </message>
    <message>
        <source>饱和度：</source>
        <translation>saturation:</translation>
    </message>
    <message>
        <source>卡名称:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>IP地址:</source>
        <translation>IP:</translation>
    </message>
    <message>
        <source>主码流:</source>
        <translation>mainCode:</translation>
    </message>
    <message>
        <source>子码流:</source>
        <translation>subcode:</translation>
    </message>
    <message>
        <source>预览码流:</source>
        <translation>Preview:</translation>
    </message>
    <message>
        <source>OutDataSettingWidget</source>
        <translation>OutDataSettingWidget</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Modify</translation>
    </message>
    <message>
        <source>主码流</source>
        <translation>The main stream</translation>
    </message>
    <message>
        <source>子码流</source>
        <translation>Subcode flow</translation>
    </message>
    <message>
        <source>IP地址无效</source>
        <translation>Invalid IP address</translation>
    </message>
    <message>
        <source>预览卡IP修改成功，重启软件生效!</source>
        <translation>Preview card IP modified successfully, restart the software effective!</translation>
    </message>
    <message>
        <source>修改失败!</source>
        <translation>Modification failed!</translation>
    </message>
</context>
</TS>
