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
    <message id="SETTINGS_CLOUD_PANE">
        <source>Cloud</source>
        <translation>Cloud</translation>
    </message>
    <message id="CLOUD_PANE_TITLE">
        <source>Your cloud database</source>
        <translation>Your cloud database</translation>
    </message>
    <message id="CLOUD_PANE_EXPLANATION">
        <source>Zestra keeps a copy of every record in a PostgreSQL database of your own, so that your other computers see them too. Your administrator gives you its address, your user name and a password (zestra-cli cloud add-user).</source>
        <translation>Zestra keeps a copy of every record in a PostgreSQL database of your own, so that your other computers see them too. Your administrator gives you its address, your user name and a password (zestra-cli cloud add-user).</translation>
    </message>
    <message id="CLOUD_PANE_SERVER">
        <source>Server</source>
        <translation>Server</translation>
    </message>
    <message id="CLOUD_PANE_USER">
        <source>User</source>
        <translation>User</translation>
    </message>
    <message id="CLOUD_PANE_PASSWORD">
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message id="CLOUD_PANE_PASSWORD_KEPT">
        <source>Kept in your keyring</source>
        <translation>Kept in your keyring</translation>
    </message>
    <message id="CLOUD_PANE_SAVE">
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message id="CLOUD_PANE_TEST">
        <source>Test the connection</source>
        <translation>Test the connection</translation>
    </message>
    <message id="CLOUD_PANE_SYNC_NOW">
        <source>Sync now</source>
        <translation>Sync now</translation>
    </message>
    <message id="CLOUD_PANE_SAVED">
        <source>Saved. The password is in your keyring, never in Zestra's settings.</source>
        <translation>Saved. The password is in your keyring, never in Zestra's settings.</translation>
    </message>
    <message id="CLOUD_PANE_TESTING">
        <source>Asking the server…</source>
        <translation>Asking the server…</translation>
    </message>
    <message id="CLOUD_PANE_TEST_OK">
        <source>The server answers and your account is ready.</source>
        <translation>The server answers and your account is ready.</translation>
    </message>
    <message id="CLOUD_PANE_TEST_NO_ACCOUNT">
        <source>The server answers, but this user has no Zestra account there.</source>
        <translation>The server answers, but this user has no Zestra account there.</translation>
    </message>
    <message id="CLOUD_PANE_TEST_FAILED">
        <source>The server cannot be reached: %1</source>
        <translation>The server cannot be reached: %1</translation>
    </message>
    <message id="CLOUD_PANE_ERROR_SERVER">
        <source>The server is a postgresql:// address, such as postgresql://db.example.org/zestra.</source>
        <translation>The server is a postgresql:// address, such as postgresql://db.example.org/zestra.</translation>
    </message>
    <message id="CLOUD_PANE_ERROR_USER">
        <source>Name the user Zestra logs in as.</source>
        <translation>Name the user Zestra logs in as.</translation>
    </message>
    <message id="CLOUD_PANE_PASSWORD_FAILED">
        <source>The password could not be kept: %1</source>
        <translation>The password could not be kept: %1</translation>
    </message>
    <message id="CLOUD_PANE_SETTINGS_FAILED">
        <source>The settings could not be saved.</source>
        <translation>The settings could not be saved.</translation>
    </message>
    <message id="CLOUD_PANE_LAST_SYNC">
        <source>Last sync: %1</source>
        <translation>Last sync: %1</translation>
    </message>
    <message id="CLOUD_PANE_NEVER_SYNCED">
        <source>Not synced yet</source>
        <translation>Not synced yet</translation>
    </message>
</context>
</TS>
