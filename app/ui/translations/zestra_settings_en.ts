<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="SETTINGS_WINDOW_TITLE">
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message id="SETTINGS_GENERAL_PANE">
        <source>General</source>
        <translation>General</translation>
    </message>
    <message id="SETTINGS_THIEVES_PANE">
        <source>Time thieves</source>
        <translation>Time thieves</translation>
    </message>
    <message id="SETTINGS_TASK_TIME_LABEL">
        <source>Task length:</source>
        <translation>Task length:</translation>
    </message>
    <message id="SETTINGS_BREAK_SHORT_LABEL">
        <source>Short break:</source>
        <translation>Short break:</translation>
    </message>
    <message id="SETTINGS_BREAK_LONG_LABEL">
        <source>Long break:</source>
        <translation>Long break:</translation>
    </message>
    <message id="SETTINGS_MINUTES_VALUE">
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message id="SETTINGS_SESSION_QUANTITY_LABEL">
        <source>Tasks per session:</source>
        <translation>Tasks per session:</translation>
    </message>
    <message id="SETTINGS_GOAL_LABEL">
        <source>Daily goal:</source>
        <translation>Daily goal:</translation>
    </message>
    <message id="SETTINGS_TASK_SOUND_LABEL">
        <source>Play a sound when a task ends</source>
        <translation>Play a sound when a task ends</translation>
    </message>
    <message id="SETTINGS_BREAK_SOUND_LABEL">
        <source>Play a sound when a break ends</source>
        <translation>Play a sound when a break ends</translation>
    </message>
    <message id="SETTINGS_AUTO_START_POMODORO">
        <source>Start the next task as soon as a break ends</source>
        <translation>Start the next task as soon as a break ends</translation>
    </message>
    <message id="SETTINGS_GENERAL_TITLE">
        <source>Application:</source>
        <translation>Application:</translation>
    </message>
    <message id="SETTINGS_APP_ICON">
        <source>Show Zestra in the taskbar</source>
        <translation>Show Zestra in the taskbar</translation>
    </message>
    <message id="SETTINGS_NOTIFICATION">
        <source>Show notifications</source>
        <translation>Show notifications</translation>
    </message>
    <message id="SETTINGS_START_POMODORO_LAUNCH">
        <source>Start the timer when Zestra starts</source>
        <translation>Start the timer when Zestra starts</translation>
    </message>
    <message id="SETTINGS_PROPERTIES_ADVICE">
        <source>Changes are saved at once. A new task length or break length applies from the next task or break; the one running keeps its time.</source>
        <translation>Changes are saved at once. A new task length or break length applies from the next task or break; the one running keeps its time.</translation>
    </message>
    <message id="THIEF_PREFERENCES_ALLOW_TITLE">
        <source>Time thieves</source>
        <translation>Time thieves</translation>
    </message>
    <message id="THIEF_PREFERENCES_ALLOW_CHECK">
        <source>Watch which application or website has my attention</source>
        <translation>Watch which application or website has my attention</translation>
    </message>
    <message id="THIEF_PREFERENCES_ALLOW_EXPLANATION">
        <source>While a task runs, Zestra looks at the window in front and counts the time you spend in applications and websites that steal your attention. What it records stays with your own data.</source>
        <translation>While a task runs, Zestra looks at the window in front and counts the time you spend in applications and websites that steal your attention. What it records stays with your own data.</translation>
    </message>
    <message id="ABOUT_WINDOW_TITLE">
        <source>About Zestra</source>
        <translation>About Zestra</translation>
    </message>
    <message id="ABOUT_VERSION">
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message id="ABOUT_DESCRIPTION">
        <source>A pomodoro timer for your tray: focused tasks, regular breaks, and an honest record of where the time went.</source>
        <translation>A pomodoro timer for your tray: focused tasks, regular breaks, and an honest record of where the time went.</translation>
    </message>
    <message id="ABOUT_CREDITS">
        <source>Made by the Zestra contributors.
Built with Qt, SQLite and Chart.js.</source>
        <translation>Made by the Zestra contributors.
Built with Qt, SQLite and Chart.js.</translation>
    </message>
    <message id="ABOUT_WEBSITE_BUTTON">
        <source>Website</source>
        <translation>Website</translation>
    </message>
    <message id="ABOUT_SUPPORT_BUTTON">
        <source>Support</source>
        <translation>Support</translation>
    </message>
</context>
</TS>
