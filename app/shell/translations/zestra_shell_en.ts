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
</context>
</TS>
