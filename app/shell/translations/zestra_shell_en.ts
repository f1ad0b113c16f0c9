<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="MAIN_MENU_SHOW">
        <source>Open Zestra</source>
        <translation>Open Zestra</translation>
    </message>
    <message id="MAIN_MENU_PAUSE">
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message id="MAIN_MENU_RESUME">
        <source>Resume</source>
        <translation>Resume</translation>
    </message>
    <message id="MAIN_MENU_RESET_TIMER">
        <source>Reset timer</source>
        <translation>Reset timer</translation>
    </message>
    <message id="MAIN_MENU_RESET_SESSION">
        <source>Reset session</source>
        <translation>Reset session</translation>
    </message>
    <message id="MAIN_MENU_RESET_GOAL">
        <source>Reset daily goal</source>
        <translation>Reset daily goal</translation>
    </message>
    <message id="MAIN_MENU_PREFERENCES">
        <source>Preferences…</source>
        <translation>Preferences…</translation>
    </message>
    <message id="MAIN_MENU_ABOUT">
        <source>About Zestra</source>
        <translation>About Zestra</translation>
    </message>
    <message id="MAIN_MENU_QUIT">
        <source>Quit Zestra</source>
        <translation>Quit Zestra</translation>
    </message>
    <message id="TRAY_TOOLTIP_TASK_MINUTES">
        <source>%1 min of focus left</source>
        <translation>%1 min of focus left</translation>
    </message>
    <message id="TRAY_TOOLTIP_BREAK_MINUTES">
        <source>%1 min of break left</source>
        <translation>%1 min of break left</translation>
    </message>
    <message id="TRAY_TOOLTIP_PAUSED">
        <source>Paused</source>
        <translation>Paused</translation>
    </message>
    <message id="ICLOUD_ALERT_TITLE">
        <source>Your cloud database has no account for you</source>
        <translation>Your cloud database has no account for you</translation>
    </message>
    <message id="ICLOUD_ALERT_MESSAGE">
        <source>Zestra could log in to the cloud database you connected, but it holds no Zestra account for this user (or the password is wrong). Your records stay on this computer. Ask the database's administrator, or connect another database in Settings, Cloud.</source>
        <translation>Zestra could log in to the cloud database you connected, but it holds no Zestra account for this user (or the password is wrong). Your records stay on this computer. Ask the database's administrator, or connect another database in Settings, Cloud.</translation>
    </message>
    <message id="ICLOUD_ALERT_BUTTON_CLOSE">
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
</TS>
