<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="REPORT_WINDOW_TITLE">
        <source>Reports</source>
        <translation>Reports</translation>
    </message>
    <message id="REPORT_VIEWER_MISSING">
        <source>Reports cannot be shown: the report viewer is not installed.</source>
        <translation>Reports cannot be shown: the report viewer is not installed.</translation>
    </message>
    <message id="CHART_SEGMENT_TODAY">
        <source>Today</source>
        <translation>Today</translation>
    </message>
    <message id="CHART_SEGMENT_WORKWEEK">
        <source>Work Week</source>
        <translation>Work Week</translation>
    </message>
    <message id="CHART_SEGMENT_WEEK">
        <source>Week</source>
        <translation>Week</translation>
    </message>
    <message id="CHART_SEGMENT_MONTH">
        <source>Month</source>
        <translation>Month</translation>
    </message>
    <message id="CHART_SEGMENT_CUSTOM">
        <source>Custom…</source>
        <translation>Custom…</translation>
    </message>
    <message id="CHART_SEARCHFIELD_PLACEHOLDER">
        <source>Search a task</source>
        <translation>Search a task</translation>
    </message>
    <message id="CHART_SHARE_PRINT">
        <source>Print…</source>
        <translation>Print…</translation>
    </message>
    <message id="CHART_SHARE_SHARE">
        <source>Share</source>
        <translation>Share</translation>
    </message>
    <message id="CHART_SHARE_SAVE_PDF">
        <source>Save as PDF…</source>
        <translation>Save as PDF…</translation>
    </message>
    <message id="CHART_SHARE_COPY_PICTURE">
        <source>Copy Picture</source>
        <translation>Copy Picture</translation>
    </message>
    <message id="CHART_SHARE_COPY_MESSAGE_LINK">
        <source>Copy Message and Link</source>
        <translation>Copy Message and Link</translation>
    </message>
    <message id="CHART_SHARE_COPY_MESSAGE">
        <source>Copy Message</source>
        <translation>Copy Message</translation>
    </message>
    <message id="CHART_SHARE_PDF_FILE_NAME">
        <source>Zestra report.pdf</source>
        <translation>Zestra report.pdf</translation>
    </message>
    <message id="CHART_SHARE_PDF_FILTER">
        <source>PDF documents (*.pdf)</source>
        <translation>PDF documents (*.pdf)</translation>
    </message>
    <message id="CHART_SHARE_SAVE_ERROR">
        <source>The report could not be saved as PDF.</source>
        <translation>The report could not be saved as PDF.</translation>
    </message>
    <message id="CHART_SHARE_ERROR_BUTTON">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="SHARE_TWITTER_BODY">
        <source>One pomodoro at a time: my %@ of focused work, tracked with Zestra.</source>
        <translation>One pomodoro at a time: my %@ of focused work, tracked with Zestra.</translation>
    </message>
    <message id="SHARE_PERIOD_DAY">
        <source>day</source>
        <translation>day</translation>
    </message>
    <message id="SHARE_PERIOD_WORKWEEK">
        <source>work week</source>
        <translation>work week</translation>
    </message>
    <message id="SHARE_PERIOD_WEEK">
        <source>week</source>
        <translation>week</translation>
    </message>
    <message id="SHARE_PERIOD_MONTH">
        <source>month</source>
        <translation>month</translation>
    </message>
    <message id="SHARE_URL">
        <source>https://zestra.org</source>
        <translation>https://zestra.org</translation>
    </message>
    <message id="PERIOD_TITLE">
        <source>Choose a period</source>
        <translation>Choose a period</translation>
    </message>
    <message id="PERIOD_START_DATE_TITLE">
        <source>From</source>
        <translation>From</translation>
    </message>
    <message id="PERIOD_END_DATE_TITLE">
        <source>To</source>
        <translation>To</translation>
    </message>
    <message id="PERIOD_CTA_BUTTON">
        <source>Show Report</source>
        <translation>Show Report</translation>
    </message>
    <message id="PERIOD_CLOSE_BUTTON">
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
</TS>
