<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>HisliconConfigDialog</name>
    <message>
        <source>备份文件(*.dat)</source>
        <translation>Backup files (*.dat)</translation>
    </message>
    <message>
        <source>共%1条</source>
        <translation>%1 in total</translation>
    </message>
    <message>
        <source>已连接</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>未连接</source>
        <translation>Not connected</translation>
    </message>
    <message>
        <source>IP格式错误!</source>
        <translation>IP format error!</translation>
    </message>
    <message>
        <source>连接失败!</source>
        <translation>Connection failed!</translation>
    </message>
    <message>
        <source>登录失败!</source>
        <translation>Login failed!</translation>
    </message>
    <message>
        <source>IP 修改</source>
        <translation>Change IP</translation>
    </message>
    <message>
        <source>IP地址无效</source>
        <translation>Invalid IP address</translation>
    </message>
    <message>
        <source>修改IP成功,请重新连接!</source>
        <translation>IP changed, please connect again!</translation>
    </message>
    <message>
        <source>IP地址无效!</source>
        <translation>Invalid IP address!</translation>
    </message>
    <message>
        <source>IP地址与网关不一致!</source>
        <translation>The gateway is not in the network of the IP address!</translation>
    </message>
    <message>
        <source>保存成功！</source>
        <translation>Saved successfully!</translation>
    </message>
    <message>
        <source>确定要重新启动设备吗？</source>
        <translation>Are you sure you want to restart the device?</translation>
    </message>
    <message>
        <source>重启成功！</source>
        <translation>Restart successful!</translation>
    </message>
    <message>
        <source>确定要恢复设备参数到出厂设置吗？</source>
        <translation>Are you sure you want to restore the device&apos;s factory settings?</translation>
    </message>
    <message>
        <source>设备升级</source>
        <translation>Device upgrade</translation>
    </message>
    <message>
        <source>升级文件(*.bin)</source>
        <translation>Upgrade files (*.bin)</translation>
    </message>
    <message>
        <source>请选择升级文件！</source>
        <translation>Please select an upgrade file!</translation>
    </message>
    <message>
        <source>固件文件打开失败！</source>
        <translation>The firmware file cannot be opened!</translation>
    </message>
    <message>
        <source>文件内容为空！</source>
        <translation>The file is empty!</translation>
    </message>
    <message>
        <source>升级文件过大，最多%1字节！</source>
        <translation>The upgrade file is too large: at most %1 bytes!</translation>
    </message>
    <message>
        <source>升级文件名只能包含西文字符！</source>
        <translation>The upgrade file&apos;s name may hold Western characters only!</translation>
    </message>
    <message>
        <source>设备升级失败，错误码%1</source>
        <translation>Device upgrade failed, error code %1</translation>
    </message>
    <message>
        <source>升级成功,设备稍后自动重启！</source>
        <translation>Upgrade successful, the device will restart shortly!</translation>
    </message>
    <message>
        <source>视频源配置过大（%1字节），一次最多保存%2字节，请减少视频源！</source>
        <translation>The video sources take %1 bytes, but at most %2 bytes can be saved at once: please remove some sources!</translation>
    </message>
    <message>
        <source>添加分组</source>
        <translation>Add group</translation>
    </message>
    <message>
        <source>请输入分组名：</source>
        <translation>Please enter the group name:</translation>
    </message>
    <message>
        <source>名称不能为空！</source>
        <translation>The name cannot be empty!</translation>
    </message>
    <message>
        <source>名称超出最大长度！</source>
        <translation>The name exceeds the maximum length!</translation>
    </message>
    <message>
        <source>视频源修改</source>
        <translation>Edit video source</translation>
    </message>
    <message>
        <source>分组命名</source>
        <translation>Group name</translation>
    </message>
    <message>
        <source>名称超出最大长度</source>
        <translation>The name exceeds the maximum length</translation>
    </message>
    <message>
        <source>请选择要删除的项！</source>
        <translation>Select the item to delete!</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>写入文件失败！</source>
        <translation>The file could not be written!</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>打开文件错误！</source>
        <translation>Error opening file!</translation>
    </message>
    <message>
        <source>文件不是视频源备份文件！</source>
        <translation>The file is not a video source backup!</translation>
    </message>
    <message>
        <source>连接状态:</source>
        <translation>Connection:</translation>
    </message>
    <message>
        <source>IP地址:</source>
        <translation>IP address:</translation>
    </message>
    <message>
        <source>端口:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>连接</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>网络设置</source>
        <translation>Network</translation>
    </message>
    <message>
        <source>视频源管理</source>
        <translation>Video sources</translation>
    </message>
    <message>
        <source>解码器控制</source>
        <translation>Decoder</translation>
    </message>
    <message>
        <source>日志信息</source>
        <translation>Log</translation>
    </message>
    <message>
        <source>升级维护</source>
        <translation>Maintenance</translation>
    </message>
    <message>
        <source>子网掩码:</source>
        <translation>Subnet mask:</translation>
    </message>
    <message>
        <source>默认网关:</source>
        <translation>Gateway:</translation>
    </message>
    <message>
        <source>DNS1:</source>
        <translation>DNS1:</translation>
    </message>
    <message>
        <source>DNS2:</source>
        <translation>DNS2:</translation>
    </message>
    <message>
        <source>MAC:</source>
        <translation>MAC:</translation>
    </message>
    <message>
        <source>TCP端口:</source>
        <translation>TCP port:</translation>
    </message>
    <message>
        <source>HTTP端口:</source>
        <translation>HTTP port:</translation>
    </message>
    <message>
        <source>更新配置</source>
        <translation>Reload</translation>
    </message>
    <message>
        <source>保存配置</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>添加视频源</source>
        <translation>Add source</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>全部类型</source>
        <translation>All types</translation>
    </message>
    <message>
        <source>异常</source>
        <translation>Exception</translation>
    </message>
    <message>
        <source>操作</source>
        <translation>Operation</translation>
    </message>
    <message>
        <source>信息</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>开始时间:</source>
        <translation>From:</translation>
    </message>
    <message>
        <source>结束时间:</source>
        <translation>To:</translation>
    </message>
    <message>
        <source>查询</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>类型</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>内容</source>
        <translation>Content</translation>
    </message>
    <message>
        <source>重启设备</source>
        <translation>Restart</translation>
    </message>
    <message>
        <source>重新启动设备</source>
        <translation>Restart the device</translation>
    </message>
    <message>
        <source>重启</source>
        <translation>Restart</translation>
    </message>
    <message>
        <source>恢复出厂设置</source>
        <translation>Factory reset</translation>
    </message>
    <message>
        <source>设备恢复默认参数</source>
        <translation>Restore the device&apos;s default settings</translation>
    </message>
    <message>
        <source>恢复默认</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>升级文件</source>
        <translation>Upgrade file</translation>
    </message>
    <message>
        <source>浏览</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>升级</source>
        <translation>Upgrade</translation>
    </message>
    <message>
        <source>版本信息</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>版本号:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>更新时间:</source>
        <translation>Updated:</translation>
    </message>
    <message>
        <source>设备中的视频源列表无法读取，保存将用当前列表替换它。是否继续？</source>
        <translation>The video source list on the device could not be read. Saving replaces it with the current list. Continue?</translation>
    </message>
</context>
<context>
    <name>IpCardPanel</name>
    <message>
        <source>失败，错误码%1</source>
        <translation>Failure, error code %1</translation>
    </message>
    <message>
        <source>设备返回的数据无法识别！</source>
        <translation>The device&apos;s reply cannot be read!</translation>
    </message>
    <message>
        <source>失败，错误码%1：连接正忙，另一个请求正在等待设备回复，请稍后再试！</source>
        <translation>Failure, error code %1: the connection is busy, another request is waiting for the device&apos;s reply. Please try again later!</translation>
    </message>
</context>
<context>
    <name>VideoSourceConfigDialog</name>
    <message>
        <source>视频源配置</source>
        <translation>Video source</translation>
    </message>
    <message>
        <source>设备名称:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>设备类型:</source>
        <translation>Type:</translation>
    </message>
    <message>
        <source>设备IP:</source>
        <translation>IP address:</translation>
    </message>
    <message>
        <source>搜索</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>用户名:</source>
        <translation>User name:</translation>
    </message>
    <message>
        <source>密码:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>媒体端口:</source>
        <translation>Media port:</translation>
    </message>
    <message>
        <source>ONVIF端口:</source>
        <translation>ONVIF port:</translation>
    </message>
    <message>
        <source>通道号:</source>
        <translation>Channel:</translation>
    </message>
    <message>
        <source>通讯方式:</source>
        <translation>Transport:</translation>
    </message>
    <message>
        <source>设备协议</source>
        <translation>Streams</translation>
    </message>
    <message>
        <source>主码流</source>
        <translation>Main stream</translation>
    </message>
    <message>
        <source>子码流</source>
        <translation>Sub stream</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>设备名称不能为空！</source>
        <translation>The device name cannot be empty!</translation>
    </message>
    <message>
        <source>IP 地址无效！</source>
        <translation>Invalid IP address!</translation>
    </message>
    <message>
        <source>设备名称超出最大长度！</source>
        <translation>The device name exceeds the maximum length!</translation>
    </message>
    <message>
        <source>此项只能输入英文字母、数字和符号！</source>
        <translation>Only ASCII letters, digits and symbols are allowed here!</translation>
    </message>
</context>
<context>
    <name>VideoSourceTree</name>
    <message>
        <source>显示名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>设备类型</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>设备IP</source>
        <translation>IP address</translation>
    </message>
    <message>
        <source>用户名</source>
        <translation>User name</translation>
    </message>
    <message>
        <source>通道号</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>媒体端口</source>
        <translation>Media port</translation>
    </message>
    <message>
        <source>连接状态</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>已连接</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>未连接</source>
        <translation>Not connected</translation>
    </message>
</context>
</TS>
