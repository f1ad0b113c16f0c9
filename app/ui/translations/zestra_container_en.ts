<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="BANNER_INTERNET_CONNECTION">
        <source>No internet connection. Changes will sync once you're back online.</source>
        <translation>No internet connection. Changes will sync once you're back online.</translation>
    </message>
    <message id="BANNER_ICLOUD_ACCOUNT">
        <source>The cloud database has no account for you. Your records stay on this computer.</source>
        <translation>The cloud database has no account for you. Your records stay on this computer.</translation>
    </message>
    <message id="BANNER_ICLOUD_QUOTA">
        <source>Cloud storage is full. New records stay on this computer only.</source>
        <translation>Cloud storage is full. New records stay on this computer only.</translation>
    </message>
    <message id="MESSAGE_TITLE_WELCOME">
        <source>Welcome to Zestra</source>
        <translation>Welcome to Zestra</translation>
    </message>
    <message id="MESSAGE_TEXT_WELCOME">
        <source>Work in short, focused intervals with a break after each one. Pick a task, start the timer and Zestra keeps count of your day.</source>
        <translation>Work in short, focused intervals with a break after each one. Pick a task, start the timer and Zestra keeps count of your day.</translation>
    </message>
    <message id="MESSAGE_CTA_WELCOME">
        <source>Let's start</source>
        <translation>Let's start</translation>
    </message>
    <message id="CONTAINER_BUTTON_CLOSE">
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
</TS>
