<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="zh_CN">
<context>
    <name>InputDataSettingWidget</name>
    <message>
        <source>板卡名称：</source>
        <translation>板卡名称：</translation>
    </message>
    <message>
        <source>信号格式：</source>
        <translation>信号格式：</translation>
    </message>
    <message>
        <source>音   频：</source>
        <translation>音   频：</translation>
    </message>
    <message>
        <source>字   幕：</source>
        <translation>字   幕：</translation>
    </message>
    <message>
        <source>内   容：</source>
        <translation>内   容：</translation>
    </message>
    <message>
        <source>位   置：</source>
        <translation>位   置：</translation>
    </message>
    <message>
        <source>颜   色：</source>
        <translation>颜   色：</translation>
    </message>
    <message>
        <source>色   度：</source>
        <translation>色   度：</translation>
    </message>
    <message>
        <source>亮   度：</source>
        <translation>亮   度：</translation>
    </message>
    <message>
        <source>对比度：</source>
        <translation>对比度：</translation>
    </message>
    <message>
        <source>锐   度：</source>
        <translation>锐   度：</translation>
    </message>
    <message>
        <source>InputDataSettingWidget</source>
        <translation>InputDataSettingWidget</translation>
    </message>
    <message>
        <source>关</source>
        <translation>关</translation>
    </message>
    <message>
        <source>开</source>
        <translation>开</translation>
    </message>
    <message>
        <source>左上角</source>
        <translation>左上角</translation>
    </message>
    <message>
        <source>右上角</source>
        <translation>右上角</translation>
    </message>
    <message>
        <source>左下角</source>
        <translation>左下角</translation>
    </message>
    <message>
        <source>右下角</source>
        <translation>右下角</translation>
    </message>
    <message>
        <source>白色</source>
        <translation>白色</translation>
    </message>
    <message>
        <source>红色</source>
        <translation>红色</translation>
    </message>
    <message>
        <source>绿色</source>
        <translation>绿色</translation>
    </message>
    <message>
        <source>蓝色</source>
        <translation>蓝色</translation>
    </message>
    <message>
        <source>黑色</source>
        <translation>黑色</translation>
    </message>
    <message>
        <source>无法访问设备，请确认IP!</source>
        <translation>无法访问设备，请确认IP!</translation>
    </message>
</context>
<context>
    <name>MInputCardSetting</name>
    <message>
        <source>输入列表</source>
        <translation>输入列表</translation>
    </message>
</context>
<context>
    <name>MOutputCardSetting</name>
    <message>
        <source>输出列表</source>
        <translation>输出列表</translation>
    </message>
</context>
<context>
    <name>OutDataSettingWidget</name>
    <message>
        <source>板卡名称：</source>
        <translation>板卡名称：</translation>
    </message>
    <message>
        <source>分辨率：</source>
        <translation>分辨率：</translation>
    </message>
    <message>
        <source>音频：</source>
        <translation>音频：</translation>
    </message>
    <message>
        <source>信号格式：</source>
        <translation>信号格式：</translation>
    </message>
    <message>
        <source>亮度：</source>
        <translation>亮度：</translation>
    </message>
    <message>
        <source>对比度：</source>
        <translation>对比度：</translation>
    </message>
    <message>
        <source>饱和度：</source>
        <translation>饱和度：</translation>
    </message>
    <message>
        <source>卡名称:</source>
        <translation>卡名称:</translation>
    </message>
    <message>
        <source>IP地址:</source>
        <translation>IP地址:</translation>
    </message>
    <message>
        <source>主码流:</source>
        <translation>主码流:</translation>
    </message>
    <message>
        <source>子码流:</source>
        <translation>子码流:</translation>
    </message>
    <message>
        <source>预览码流:</source>
        <translation>预览码流:</translation>
    </message>
    <message>
        <source>OutDataSettingWidget</source>
        <translation>OutDataSettingWidget</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>修改</translation>
    </message>
    <message>
        <source>主码流</source>
        <translation>主码流</translation>
    </message>
    <message>
        <source>子码流</source>
        <translation>子码流</translation>
    </message>
    <message>
        <source>IP地址无效</source>
        <translation>IP地址无效</translation>
    </message>
    <message>
        <source>预览卡IP修改成功，重启软件生效!</source>
        <translation>预览卡IP修改成功，重启软件生效!</translation>
    </message>
    <message>
        <source>修改失败!</source>
        <translation>修改失败!</translation>
    </message>
</context>
</TS>