CREATE TABLE TaskInfo (
    id INTEGER PRIMARY KEY,
    name TEXT,
    color TEXT,
    createdAt REAL NOT NULL DEFAULT 0,
    taskDescription TEXT,
    cloudRecordID TEXT
);
CREATE INDEX TaskInfo_name ON TaskInfo(name);
CREATE INDEX TaskInfo_cloudRecordID ON TaskInfo(cloudRecordID);

CREATE TABLE Pomodoro (
    id INTEGER PRIMARY KEY,
    startTime REAL NOT NULL DEFAULT 0,
    endTime REAL NOT NULL DEFAULT 0,
    duration INTEGER NOT NULL DEFAULT 0,
    freeTimeDuration INTEGER NOT NULL DEFAULT 0,
    taskName TEXT,
    taskInfo INTEGER REFERENCES TaskInfo(id) ON DELETE SET NULL,
    cloudRecordID TEXT
);
CREATE INDEX Pomodoro_startTime ON Pomodoro(startTime);
-- Covers the per-task counts and the sum of durations without touching the table.
CREATE INDEX Pomodoro_taskInfo ON Pomodoro(taskInfo, duration);
-- The per-day count of a stored name walks only that name's rows of the day.
CREATE INDEX Pomodoro_taskName ON Pomodoro(taskName, startTime);
CREATE INDEX Pomodoro_cloudRecordID ON Pomodoro(cloudRecordID);

CREATE TABLE Session (
    id INTEGER PRIMARY KEY,
    finishedAt REAL NOT NULL DEFAULT 0,
    tasksCount INTEGER NOT NULL DEFAULT 0,
    cloudRecordID TEXT
);
CREATE INDEX Session_finishedAt ON Session(finishedAt);
CREATE INDEX Session_cloudRecordID ON Session(cloudRecordID);

CREATE TABLE Goal (
    id INTEGER PRIMARY KEY,
    achieveAt REAL NOT NULL DEFAULT 0,
    tasksCount INTEGER NOT NULL DEFAULT 0,
    cloudRecordID TEXT
);
CREATE INDEX Goal_achieveAt ON Goal(achieveAt);
CREATE INDEX Goal_cloudRecordID ON Goal(cloudRecordID);

CREATE TABLE Thief (
    id INTEGER PRIMARY KEY,
    name TEXT,
    identifier TEXT,
    kind TEXT,
    about TEXT,
    image BLOB,
    isActive INTEGER NOT NULL DEFAULT 0,
    preloaded INTEGER NOT NULL DEFAULT 0,
    cloudRecordID TEXT
);
CREATE INDEX Thief_identifier ON Thief(identifier);
CREATE INDEX Thief_cloudRecordID ON Thief(cloudRecordID);

CREATE TABLE WorkActivity (
    id INTEGER PRIMARY KEY,
    name TEXT,
    identifier TEXT,
    kind TEXT,
    startTime REAL NOT NULL DEFAULT 0,
    endTime REAL NOT NULL DEFAULT 0,
    image BLOB,
    cloudRecordID TEXT
);
CREATE INDEX WorkActivity_startTime ON WorkActivity(startTime);
CREATE INDEX WorkActivity_identifier ON WorkActivity(identifier);
CREATE INDEX WorkActivity_cloudRecordID ON WorkActivity(cloudRecordID);
