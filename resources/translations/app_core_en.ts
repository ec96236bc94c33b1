<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>CConSetDialog</name>
    <message>
        <source>连接设置</source>
        <translation>Connection Settings</translation>
    </message>
    <message>
        <source>通讯方式：</source>
        <translation>Mode:</translation>
    </message>
    <message>
        <source>I  P  地址：</source>
        <translation>IP Addr:</translation>
    </message>
    <message>
        <source>端  口  号：</source>
        <translation>TCP Port:</translation>
    </message>
    <message>
        <source>串  口  号：</source>
        <translation>Serial Port:</translation>
    </message>
    <message>
        <source>TCP/IP</source>
        <translation>TCP/IP</translation>
    </message>
    <message>
        <source>COM口</source>
        <translation>COM</translation>
    </message>
    <message>
        <source>端口号不能为空！</source>
        <translation>TCP Port can not be empty!</translation>
    </message>
    <message>
        <source>无法连接到设备，请检查连接信息！</source>
        <translation>Unable to connect to the device, please check the connection information!</translation>
    </message>
    <message>
        <source>%1（未找到）</source>
        <translation>%1 (not found)</translation>
    </message>
</context>
<context>
    <name>CConfirmDialog</name>
    <message>
        <source>确定</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>CLoginDialog</name>
    <message>
        <source>登录</source>
        <translation>Login</translation>
    </message>
    <message>
        <source>Corvanta</source>
        <translation>CORVANTA</translation>
    </message>
    <message>
        <source>记住密码</source>
        <translation>Remember</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>连接设置</source>
        <translation>Connection Settings</translation>
    </message>
    <message>
        <source>账号：</source>
        <translation>Account:</translation>
    </message>
    <message>
        <source>密码：</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>型号：</source>
        <translation>Model:</translation>
    </message>
    <message>
        <source>用户名不能为空！</source>
        <translation>User name can not be empty!</translation>
    </message>
    <message>
        <source>密码不能为空！</source>
        <translation>Password can not be empty!</translation>
    </message>
    <message>
        <source>账号不存在...</source>
        <translation>The account does not exist...</translation>
    </message>
    <message>
        <source>密码不正确...</source>
        <translation>Wrong password...</translation>
    </message>
    <message>
        <source>账号密码验证通过</source>
        <translation>Account and password verified</translation>
    </message>
    <message>
        <source>正在登录...</source>
        <translation>Logging in...</translation>
    </message>
    <message>
        <source>连接设备成功</source>
        <translation>Connected to the device</translation>
    </message>
    <message>
        <source>连接设备失败...</source>
        <translation>Connecting to the device failed...</translation>
    </message>
</context>
<context>
    <name>CSelectCardTypeDialog</name>
    <message>
        <source>卡类型选择</source>
        <translation>Card type</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>输入卡</source>
        <translation>Input</translation>
    </message>
    <message>
        <source>输出卡</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>板卡类型设置</source>
        <translation>Card Type Setting</translation>
    </message>
</context>
<context>
    <name>CWaitMaskWidget</name>
    <message>
        <source>请等待</source>
        <translation>Wait</translation>
    </message>
</context>
<context>
    <name>CenterWindow</name>
    <message>
        <source>信号切换</source>
        <translation>Switch</translation>
    </message>
    <message>
        <source>输入设置</source>
        <translation>Input</translation>
    </message>
    <message>
        <source>输出设置</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>EDID设置</source>
        <translation>EDID</translation>
    </message>
    <message>
        <source>系统设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>端口切换</source>
        <translation>Port Switch</translation>
    </message>
    <message>
        <source>端口权限</source>
        <translation>Port Permiss</translation>
    </message>
</context>
<context>
    <name>DeviceInfoFetcher</name>
    <message>
        <source>连接设备成功，正在获取数据...</source>
        <translation>Connected to the device, fetching data...</translation>
    </message>
    <message>
        <source>正在获取板卡信息！</source>
        <translation>Reading the card list!</translation>
    </message>
    <message>
        <source>正在获取输入板卡信息！</source>
        <translation>Reading the input cards!</translation>
    </message>
    <message>
        <source>获取输入板卡信息失败！</source>
        <translation>Reading the input cards failed!</translation>
    </message>
    <message>
        <source>正在获取输出板卡信息！</source>
        <translation>Reading the output cards!</translation>
    </message>
    <message>
        <source>获取输出板卡信息失败！</source>
        <translation>Reading the output cards failed!</translation>
    </message>
    <message>
        <source>正在获取设备版本信息！</source>
        <translation>Reading the device versions!</translation>
    </message>
    <message>
        <source>获取数据完成！</source>
        <translation>Data fetched!</translation>
    </message>
</context>
<context>
    <name>LinkNotices</name>
    <message>
        <source>未连接</source>
        <translation>Not connected</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Corvanta</source>
        <translation>CORVANTA</translation>
    </message>
    <message>
        <source>您确定要退出吗？</source>
        <translation>Are you sure you want to exit?</translation>
    </message>
    <message>
        <source>设备连接已断开</source>
        <translation>The connection to the device was broken</translation>
    </message>
    <message>
        <source>连接设备成功</source>
        <translation>Connected to the device</translation>
    </message>
    <message>
        <source>连接设备超时</source>
        <translation>Connecting to the device timed out</translation>
    </message>
</context>
<context>
    <name>SettingMenu</name>
    <message>
        <source>注销</source>
        <translation>Logout</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
</context>
<context>
    <name>SettingMenuController</name>
    <message>
        <source>您确定要注销吗？</source>
        <translation>Are you sure to logout?</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>程序已经在运行！</source>
        <translation>The program is already running!</translation>
    </message>
</context>
</TS>
