<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="ACTIVITY_HEADER_TITLE">
        <source>Zestra</source>
        <translation>Zestra</translation>
    </message>
    <message id="ACTIVITY_POMODORO">
        <source>Focus</source>
        <translation>Focus</translation>
    </message>
    <message id="ACTIVITY_CONTINUE">
        <source>Break time</source>
        <translation>Break time</translation>
    </message>
    <message id="ACTIVITY_PAUSED">
        <source>Paused</source>
        <translation>Paused</translation>
    </message>
    <message id="ACTIVITY_UNIT_MINUTES">
        <source>minutes</source>
        <translation>minutes</translation>
    </message>
    <message id="ACTIVITY_UNIT_SECONDS">
        <source>seconds</source>
        <translation>seconds</translation>
    </message>
    <message id="ACTIVITY_TASK_NAME_PLACEHOLDER">
        <source>Choose a task</source>
        <translation>Choose a task</translation>
    </message>
    <message id="ACTIVITY_BUTTON_ACTIONS">
        <source>Timer actions</source>
        <translation>Timer actions</translation>
    </message>
    <message id="ACTIVITY_BUTTON_SETTINGS">
        <source>Preferences</source>
        <translation>Preferences</translation>
    </message>
    <message id="ACTIVITY_BUTTON_ABOUT">
        <source>About Zestra</source>
        <translation>About Zestra</translation>
    </message>
    <message id="ACTIVITY_BUTTON_LOGBOOK">
        <source>Logbook</source>
        <translation>Logbook</translation>
    </message>
    <message id="ACTIVITY_BUTTON_REPORT">
        <source>Reports</source>
        <translation>Reports</translation>
    </message>
    <message id="ACTIVITY_BUTTON_THIEVES">
        <source>Time thieves</source>
        <translation>Time thieves</translation>
    </message>
    <message id="ACTIVITY_BUTTON_QUIT">
        <source>Quit Zestra</source>
        <translation>Quit Zestra</translation>
    </message>
    <message id="SESSION_SERIE">
        <source>Session</source>
        <translation>Session</translation>
    </message>
    <message id="SESSION_UNIT">
        <source>tasks</source>
        <translation>tasks</translation>
    </message>
    <message id="GOAL_SERIE">
        <source>Daily goal</source>
        <translation>Daily goal</translation>
    </message>
    <message id="GOAL_UNIT">
        <source>tasks</source>
        <translation>tasks</translation>
    </message>
    <message id="MENU_ACTIVITIES_RESET_TIMER">
        <source>Reset timer</source>
        <translation>Reset timer</translation>
    </message>
    <message id="MENU_ACTIVITIES_PAUSE">
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message id="MENU_ACTIVITIES_RESUME">
        <source>Resume</source>
        <translation>Resume</translation>
    </message>
    <message id="MENU_ACTIVITIES_RESET_SESSION">
        <source>Reset session</source>
        <translation>Reset session</translation>
    </message>
    <message id="MENU_ACTIVITIES_RESET_GOAL">
        <source>Reset daily goal</source>
        <translation>Reset daily goal</translation>
    </message>
    <message id="MENU_ACTIVITIES_SKIP">
        <source>Skip break</source>
        <translation>Skip break</translation>
    </message>
    <message id="MENU_ACTIVITIES_RESET_ALL">
        <source>Reset everything</source>
        <translation>Reset everything</translation>
    </message>
    <message id="RESET_TITLE">
        <source>Session reset</source>
        <translation>Session reset</translation>
    </message>
    <message id="RESET_MESSAGE">
        <source>The session starts again from its first task.</source>
        <translation>The session starts again from its first task.</translation>
    </message>
    <message id="RESET_BUTTON">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="RESET_SESSION_TITLE">
        <source>Daily goal reset</source>
        <translation>Daily goal reset</translation>
    </message>
    <message id="RESET_SESSION_MESSAGE">
        <source>Today's goal counts again from zero.</source>
        <translation>Today's goal counts again from zero.</translation>
    </message>
    <message id="RESET_SESSION_BUTTON">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="ACTIVITY_TIMER_ACCESSIBLE">
        <source>Start or pause the timer</source>
        <translation>Start or pause the timer</translation>
    </message>
    <message id="ACTIVITY_TASK_ACCESSIBLE">
        <source>Opens the task list</source>
        <translation>Opens the task list</translation>
    </message>
    <message id="ACTIVITY_BUTTON_CONTINUE">
        <source>Continue from %1</source>
        <translation>Continue from %1</translation>
    </message>
    <message id="ACTIVITY_CONTINUE_DETAIL">
        <source>Continue %1 with %2 left, as on %3</source>
        <translation>Continue %1 with %2 left, as on %3</translation>
    </message>
    <message id="ACTIVITY_CONTINUE_NO_TASK">
        <source>the countdown</source>
        <translation>the countdown</translation>
    </message>
</context>
</TS>
