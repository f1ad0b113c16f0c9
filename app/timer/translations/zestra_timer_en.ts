<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="NOTIFICATION_TASK_TITLE">
        <source>Time for a break</source>
        <translation>Time for a break</translation>
    </message>
    <message id="NOTIFICATION_TASK_TEXT">
        <source>Task finished. Stand up, stretch and rest your eyes.</source>
        <translation>Task finished. Stand up, stretch and rest your eyes.</translation>
    </message>
    <message id="NOTIFICATION_FREE_TITLE">
        <source>Back to work</source>
        <translation>Back to work</translation>
    </message>
    <message id="NOTIFICATION_FREE_TEXT">
        <source>The break is over. Your next task is ready.</source>
        <translation>The break is over. Your next task is ready.</translation>
    </message>
    <message id="NOTIFICATION_SESSION_TITLE">
        <source>Session complete</source>
        <translation>Session complete</translation>
    </message>
    <message id="NOTIFICATION_SESSION_TEXT">
        <source>Well done! Enjoy a long break.</source>
        <translation>Well done! Enjoy a long break.</translation>
    </message>
    <message id="NOTIFICATION_GOAL_TITLE">
        <source>Daily goal reached</source>
        <translation>Daily goal reached</translation>
    </message>
    <message id="NOTIFICATION_GOAL_TEXT">
        <source>You have finished every task you planned for today.</source>
        <translation>You have finished every task you planned for today.</translation>
    </message>
</context>
</TS>
