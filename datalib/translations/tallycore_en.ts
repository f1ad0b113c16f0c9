<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="POMODORO_GENERIC_NAME">
        <source>Task</source>
        <translation>Task</translation>
    </message>
    <message id="REPORT_TEMPLATE_ERROR">
        <source>This report cannot be shown: one of its page templates is missing or damaged.</source>
        <translation>This report cannot be shown: one of its page templates is missing or damaged.</translation>
    </message>
    <message id="EXPORT_CSV_HEADER">
        <source>Task;Start;Duration (seconds)</source>
        <translation>Task;Start;Duration (seconds)</translation>
    </message>
</context>
</TS>
