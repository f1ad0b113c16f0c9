<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="THIEF_WINDOW_TITLE">
        <source>Time Thieves</source>
        <translation>Time Thieves</translation>
    </message>
    <message id="THIEF_LABEL_DAY_TODAY">
        <source>Today</source>
        <translation>Today</translation>
    </message>
    <message id="THIEF_LABEL_DAY_YESTERDAY">
        <source>Yesterday</source>
        <translation>Yesterday</translation>
    </message>
    <message id="THIEF_BUTTON_PREVIOUS">
        <source>Previous day (Alt+Left)</source>
        <translation>Previous day (Alt+Left)</translation>
    </message>
    <message id="THIEF_BUTTON_NEXT">
        <source>Next day (Alt+Right)</source>
        <translation>Next day (Alt+Right)</translation>
    </message>
    <message id="THIEF_BUTTON_TODAY">
        <source>Go to today (Ctrl+T)</source>
        <translation>Go to today (Ctrl+T)</translation>
    </message>
    <message id="THIEF_BUTTON_REFRESH">
        <source>Refresh (F5)</source>
        <translation>Refresh (F5)</translation>
    </message>
    <message id="THIEF_BUTTON_REPORT">
        <source>Report of this day</source>
        <translation>Report of this day</translation>
    </message>
    <message id="THIEF_BUTTON_SETTINGS">
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message id="THIEF_SHOW_TITLE">
        <source>Show</source>
        <translation>Show</translation>
    </message>
    <message id="THIEF_SHOW_THIEVES">
        <source>Thieves</source>
        <translation>Thieves</translation>
    </message>
    <message id="THIEF_SHOW_ALL">
        <source>Everything</source>
        <translation>Everything</translation>
    </message>
    <message id="THIEF_SORT_TITLE">
        <source>Sort by</source>
        <translation>Sort by</translation>
    </message>
    <message id="THIEF_SORT_BY_NAME">
        <source>By name</source>
        <translation>By name</translation>
    </message>
    <message id="THIEF_SORT_BY_TIME">
        <source>By time</source>
        <translation>By time</translation>
    </message>
    <message id="THIEF_POPUP_TITLE">
        <source>Add New Thief</source>
        <translation>Add New Thief</translation>
    </message>
    <message id="THIEF_POPUP_ITEM_ADD_APP">
        <source>An application…</source>
        <translation>An application…</translation>
    </message>
    <message id="THIEF_POPUP_ITEM_ADD_WEB">
        <source>A website…</source>
        <translation>A website…</translation>
    </message>
    <message id="THIEF_LIST_MODE_THIEF">
        <source>Your time thieves</source>
        <translation>Your time thieves</translation>
    </message>
    <message id="THIEF_LIST_MODE_ALL">
        <source>Everything you used</source>
        <translation>Everything you used</translation>
    </message>
    <message id="THIEF_TIMELINE_EARLIER">
        <source>One hour earlier</source>
        <translation>One hour earlier</translation>
    </message>
    <message id="THIEF_TIMELINE_LATER">
        <source>One hour later</source>
        <translation>One hour later</translation>
    </message>
    <message id="THIEF_CELL_ACTIONS">
        <source>Actions</source>
        <translation>Actions</translation>
    </message>
    <message id="THIEF_CELL_ACTION_ADD">
        <source>Mark as a thief</source>
        <translation>Mark as a thief</translation>
    </message>
    <message id="THIEF_CELL_ACTION_DELETE">
        <source>Delete this day's records</source>
        <translation>Delete this day's records</translation>
    </message>
    <message id="THIEF_CELL_ACTION_REMOVE_LIST">
        <source>Remove from my thieves</source>
        <translation>Remove from my thieves</translation>
    </message>
    <message id="THIEF_CELL_EMPTY_TITLE">
        <source>Nothing to show</source>
        <translation>Nothing to show</translation>
    </message>
    <message id="THIEF_CELL_EMPTY_TAGLINE">
        <source>Zestra keeps what it saw for a week; this day is older.</source>
        <translation>Zestra keeps what it saw for a week; this day is older.</translation>
    </message>
    <message id="THIEF_CELL_EMPTY_TAGLINE_ACTIVITY">
        <source>Nothing was recorded on this day.</source>
        <translation>Nothing was recorded on this day.</translation>
    </message>
    <message id="THIEF_CELL_EMPTY_TAGLINE_THIEF">
        <source>No thief took your time on this day. Well done!</source>
        <translation>No thief took your time on this day. Well done!</translation>
    </message>
    <message id="THIEF_WEBSITE_TITLE">
        <source>Add a website</source>
        <translation>Add a website</translation>
    </message>
    <message id="THIEF_WEBSITE_TAGLINE">
        <source>Time on this website will count as stolen whenever it is the page in front of you.</source>
        <translation>Time on this website will count as stolen whenever it is the page in front of you.</translation>
    </message>
    <message id="THIEF_WEBSITE_LABEL_NAME">
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message id="THIEF_WEBSITE_LABEL_DOMAIN">
        <source>Domain</source>
        <translation>Domain</translation>
    </message>
    <message id="THIEF_WEBSITE_LABEL_DOMAIN_HELP">
        <source>The site's address, such as youtube.com; &quot;www.&quot; and the rest of a pasted address are left out.</source>
        <translation>The site's address, such as youtube.com; &quot;www.&quot; and the rest of a pasted address are left out.</translation>
    </message>
    <message id="THIEF_WEBSITE_BUTTON_SAVE">
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message id="THIEF_WEBSITE_BUTTON_CLOSE">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="THIEF_WEBSITE_ERROR_NAME">
        <source>Give the website a name.</source>
        <translation>Give the website a name.</translation>
    </message>
    <message id="THIEF_WEBSITE_ERROR_NAME_LENGTH">
        <source>The name can have at most %1 characters.</source>
        <translation>The name can have at most %1 characters.</translation>
    </message>
    <message id="THIEF_WEBSITE_ERROR_DOMAIN">
        <source>&quot;%1&quot; is not a website's domain, such as youtube.com.</source>
        <translation>&quot;%1&quot; is not a website's domain, such as youtube.com.</translation>
    </message>
    <message id="THIEF_SAVE_FAILED">
        <source>The thief could not be saved: %1</source>
        <translation>The thief could not be saved: %1</translation>
    </message>
    <message id="THIEF_APPLICATION_TITLE">
        <source>Select an application</source>
        <translation>Select an application</translation>
    </message>
    <message id="THIEF_APPLICATION_BUTTON_CHOOSE">
        <source>Choose</source>
        <translation>Choose</translation>
    </message>
    <message id="THIEF_APPLICATION_FILTER">
        <source>Search applications</source>
        <translation>Search applications</translation>
    </message>
    <message id="THIEF_APPLICATION_BUTTON_FILE">
        <source>Other…</source>
        <translation>Other…</translation>
    </message>
    <message id="THIEF_APPLICATION_FILE_TITLE">
        <source>Choose an application's desktop entry</source>
        <translation>Choose an application's desktop entry</translation>
    </message>
    <message id="THIEF_APPLICATION_FILE_FILTER">
        <source>Desktop entries</source>
        <translation>Desktop entries</translation>
    </message>
    <message id="THIEF_APPLICATION_ERROR_ENTRY">
        <source>This application has no name or no identifier, so Zestra could not tell when it is in front.</source>
        <translation>This application has no name or no identifier, so Zestra could not tell when it is in front.</translation>
    </message>
    <message id="THIEF_ONBOARD_WINDOW_TITLE">
        <source>Time Thieves</source>
        <translation>Time Thieves</translation>
    </message>
    <message id="THIEF_ONBOARD_QUOTE">
        <source>“Lost time is never found again.”</source>
        <translation>“Lost time is never found again.”</translation>
    </message>
    <message id="THIEF_ONBOARD_NOTICE">
        <source>Zestra can show you where your attention goes.</source>
        <translation>Zestra can show you where your attention goes.</translation>
    </message>
    <message id="THIEF_ONBOARD_EXPLANATION_ONE">
        <source>While you allow it, Zestra notes once a second which application is in front and, for a web browser, which website it shows.</source>
        <translation>While you allow it, Zestra notes once a second which application is in front and, for a web browser, which website it shows.</translation>
    </message>
    <message id="THIEF_ONBOARD_EXPLANATION_TWO">
        <source>What it notes stays on this computer (and in your own cloud database, if you connected one) and is deleted after a week.</source>
        <translation>What it notes stays on this computer (and in your own cloud database, if you connected one) and is deleted after a week.</translation>
    </message>
    <message id="THIEF_ONBOARD_EXPLANATION_THREE">
        <source>Mark the applications and websites that steal your time, and see them on a timeline of each day.</source>
        <translation>Mark the applications and websites that steal your time, and see them on a timeline of each day.</translation>
    </message>
    <message id="THIEF_ONBOARD_LABEL_BROWSERS">
        <source>Websites are seen in Firefox and in Chromium, Chrome, Brave, Edge and Vivaldi. You can change your mind at any time in Settings.</source>
        <translation>Websites are seen in Firefox and in Chromium, Chrome, Brave, Edge and Vivaldi. You can change your mind at any time in Settings.</translation>
    </message>
    <message id="THIEF_ONBOARD_BUTTON_AGREE">
        <source>Allow</source>
        <translation>Allow</translation>
    </message>
    <message id="THIEF_ONBOARD_BUTTON_CANCEL">
        <source>Not now</source>
        <translation>Not now</translation>
    </message>
    <message id="THIEF_ONBOARD_DESKTOP_UNSUPPORTED">
        <source>This desktop does not let Zestra see which application is in front, so nothing will be recorded here. It works on X11, on sway and other wlroots desktops, and on KDE Plasma.</source>
        <translation>This desktop does not let Zestra see which application is in front, so nothing will be recorded here. It works on X11, on sway and other wlroots desktops, and on KDE Plasma.</translation>
    </message>
    <message id="THIEF_PREFERENCES_DESKTOP_UNSUPPORTED">
        <source>This desktop does not let Zestra see which application is in front, so nothing is recorded here.</source>
        <translation>This desktop does not let Zestra see which application is in front, so nothing is recorded here.</translation>
    </message>
</context>
</TS>
