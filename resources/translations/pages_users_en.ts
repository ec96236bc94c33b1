<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>UserManageLeftWidget</name>
    <message>
        <source>用户名：</source>
        <translation>User name:</translation>
    </message>
    <message>
        <source>密码：</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>新增用户</source>
        <translation>New user</translation>
    </message>
    <message>
        <source>修改密码</source>
        <translation>Change Password</translation>
    </message>
    <message>
        <source>删除用户</source>
        <translation>Delete user</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>用户列表</source>
        <translation>User list</translation>
    </message>
    <message>
        <source>用户名已存在!</source>
        <translation>User name already exists!</translation>
    </message>
    <message>
        <source>新增用户失败！</source>
        <translation>Failed to add the user!</translation>
    </message>
    <message>
        <source>新增用户成功！</source>
        <translation>User added!</translation>
    </message>
    <message>
        <source>请从列表中选择一个用户！</source>
        <translation>Please select a user from the list!</translation>
    </message>
    <message>
        <source>删除用户失败！</source>
        <translation>Failed to delete the user!</translation>
    </message>
    <message>
        <source>删除用户成功！</source>
        <translation>User deleted!</translation>
    </message>
    <message>
        <source>导出配置</source>
        <translation>Export configuration</translation>
    </message>
    <message>
        <source>备份文件(*.bak)</source>
        <translation>Backup files (*.bak)</translation>
    </message>
    <message>
        <source>导出配置成功！</source>
        <translation>Configuration exported!</translation>
    </message>
    <message>
        <source>导出配置失败！</source>
        <translation>Export configuration failed!</translation>
    </message>
    <message>
        <source>导入配置</source>
        <translation>Import configuration</translation>
    </message>
    <message>
        <source>导入配置失败！</source>
        <translation>Import configuration failed!</translation>
    </message>
    <message>
        <source>导入配置成功！</source>
        <translation>Configuration imported!</translation>
    </message>
</context>
<context>
    <name>UserManageRightWidget</name>
    <message>
        <source>当前用户：</source>
        <translation>Current user:</translation>
    </message>
    <message>
        <source>保存设置</source>
        <translation>Save settings</translation>
    </message>
    <message>
        <source>输入</source>
        <translation>Input</translation>
    </message>
    <message>
        <source>输出</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>获取用户信息失败！</source>
        <translation>Failed to get the user&apos;s information!</translation>
    </message>
    <message>
        <source>保存设置成功！</source>
        <translation>Settings saved!</translation>
    </message>
    <message>
        <source>保存设置失败！</source>
        <translation>Failed to save settings!</translation>
    </message>
</context>
</TS>
