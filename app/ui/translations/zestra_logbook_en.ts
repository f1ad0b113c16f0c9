<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="BITACORA_WINDOW_TITLE">
        <source>Logbook</source>
        <translation>Logbook</translation>
    </message>
    <message id="BITACORA_LABEL_DAY_TODAY">
        <source>Today</source>
        <translation>Today</translation>
    </message>
    <message id="BITACORA_LABEL_DAY_YESTERDAY">
        <source>Yesterday</source>
        <translation>Yesterday</translation>
    </message>
    <message id="BITACORA_BUTTON_PREVIOUS">
        <source>Previous day (%1)</source>
        <translation>Previous day (%1)</translation>
    </message>
    <message id="BITACORA_BUTTON_NEXT">
        <source>Next day (%1)</source>
        <translation>Next day (%1)</translation>
    </message>
    <message id="BITACORA_BUTTON_TODAY">
        <source>Go to today (%1)</source>
        <translation>Go to today (%1)</translation>
    </message>
    <message id="BITACORA_BUTTON_CALENDAR">
        <source>Choose a day; days with work are marked (%1)</source>
        <translation>Choose a day; days with work are marked (%1)</translation>
    </message>
    <message id="BITACORA_BUTTON_REPORT">
        <source>Report of this day (%1)</source>
        <translation>Report of this day (%1)</translation>
    </message>
    <message id="BITACORA_BUTTON_EXPORT">
        <source>Export this day as CSV (%1)</source>
        <translation>Export this day as CSV (%1)</translation>
    </message>
    <message id="CELL_SESSION_TITLE">
        <source>Session completed</source>
        <translation>Session completed</translation>
    </message>
    <message id="CELL_SESSION_DESCRIPTION">
        <source>%1 pomodoros in a row</source>
        <translation>%1 pomodoros in a row</translation>
    </message>
    <message id="CELL_GOAL_TITLE">
        <source>Daily goal reached</source>
        <translation>Daily goal reached</translation>
    </message>
    <message id="CELL_GOAL_POMODOROS_TITLE">
        <source>%1 pomodoros today</source>
        <translation>%1 pomodoros today</translation>
    </message>
    <message id="CELL_START_TITLE">
        <source>Start of the day</source>
        <translation>Start of the day</translation>
    </message>
    <message id="CELL_START_TIME_TITLE">
        <source>First pomodoro began at</source>
        <translation>First pomodoro began at</translation>
    </message>
    <message id="CELL_ACTION_RENAME">
        <source>Change task</source>
        <translation>Change task</translation>
    </message>
    <message id="EMPTY_SPACE_TITLE">
        <source>Nothing recorded</source>
        <translation>Nothing recorded</translation>
    </message>
    <message id="EMPTY_SPACE_MESSAGE">
        <source>The pomodoros, sessions and goals of this day will show up here.</source>
        <translation>The pomodoros, sessions and goals of this day will show up here.</translation>
    </message>
    <message id="EXPORT_CSV_SAVE_TITLE">
        <source>Export day as CSV</source>
        <translation>Export day as CSV</translation>
    </message>
    <message id="EXPORT_CSV_SAVE_PROMPT">
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message id="EXPORT_CSV_SAVE_ERROR_TITLE">
        <source>The day could not be exported</source>
        <translation>The day could not be exported</translation>
    </message>
    <message id="EXPORT_CSV_SAVE_ERROR_MESSAGE">
        <source>The file could not be written there. Choose a folder that exists and that you can write to, then try again.</source>
        <translation>The file could not be written there. Choose a folder that exists and that you can write to, then try again.</translation>
    </message>
    <message id="EXPORT_CSV_SAVE_ERROR_BUTTON">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="RENAME_HELP">
        <source>Choose the task this pomodoro belongs to, or type its name and press Enter.</source>
        <translation>Choose the task this pomodoro belongs to, or type its name and press Enter.</translation>
    </message>
    <message id="RENAME_UNKNOWN_TASK">
        <source>There is no task named “%1”. Add it in the task list first.</source>
        <translation>There is no task named “%1”. Add it in the task list first.</translation>
    </message>
    <message id="RENAME_FAILED">
        <source>This pomodoro could not be changed; it may have been deleted.</source>
        <translation>This pomodoro could not be changed; it may have been deleted.</translation>
    </message>
</context>
</TS>
