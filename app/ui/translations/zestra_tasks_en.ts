<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="TASKS_TITLE_NEW">
        <source>Tasks</source>
        <translation>Tasks</translation>
    </message>
    <message id="TASKS_BUTTON_BACK">
        <source>Back</source>
        <translation>Back</translation>
    </message>
    <message id="TASKS_BUTTON_NEW">
        <source>New task</source>
        <translation>New task</translation>
    </message>
    <message id="EMPTY_TASKS_MANAGER_TITLE">
        <source>No tasks yet</source>
        <translation>No tasks yet</translation>
    </message>
    <message id="EMPTY_TASKS_MANAGER_DESCRIPTION">
        <source>Add a task with the + button to keep track of what you work on.</source>
        <translation>Add a task with the + button to keep track of what you work on.</translation>
    </message>
    <message id="CELL_POMODORO_ITERATIONS_TITLE">
        <source>Pomodoros</source>
        <translation>Pomodoros</translation>
    </message>
    <message id="CELL_POMODORO_TIME_TITLE">
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message id="CELL_ACTION_DELETE">
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message id="CELL_ACTION_EDIT">
        <source>Edit</source>
        <translation>Edit</translation>
    </message>
    <message id="TASK_CREATOR_TITLE_NEW">
        <source>Task</source>
        <translation>Task</translation>
    </message>
    <message id="TASK_CREATOR_NAME">
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message id="TASK_CREATOR_COLOR">
        <source>Color</source>
        <translation>Color</translation>
    </message>
    <message id="TASK_CREATOR_DESCRIPTION">
        <source>Description</source>
        <translation>Description</translation>
    </message>
    <message id="TASK_CREATOR_BUTTON_SAVE">
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message id="TASK_CREATOR_BUTTON_BACK">
        <source>Back</source>
        <translation>Back</translation>
    </message>
    <message id="TASK_CREATOR_NAME_TAKEN">
        <source>Another task already has this name.</source>
        <translation>Another task already has this name.</translation>
    </message>
    <message id="TASK_CREATOR_COLOR_RED">
        <source>Red</source>
        <translation>Red</translation>
    </message>
    <message id="TASK_CREATOR_COLOR_ORANGE">
        <source>Orange</source>
        <translation>Orange</translation>
    </message>
    <message id="TASK_CREATOR_COLOR_GRASS">
        <source>Green</source>
        <translation>Green</translation>
    </message>
    <message id="TASK_CREATOR_COLOR_AQUA">
        <source>Blue</source>
        <translation>Blue</translation>
    </message>
    <message id="TASK_CREATOR_COLOR_LAVANDER">
        <source>Lavender</source>
        <translation>Lavender</translation>
    </message>
    <message id="TASK_CREATOR_COLOR_PINK">
        <source>Pink</source>
        <translation>Pink</translation>
    </message>
</context>
</TS>
