#pragma once

#include <QString>
#include <QStringList>

// The session file a Chromium-family browser is writing.
class ChromiumSessionFiles {
public:
    // `roots`: user data folders (the ones holding "Local State" and the profiles).
    explicit ChromiumSessionFiles(QStringList roots);

    // The newest <profile>/Sessions/Session_* (or "Current Session" of older versions) across
    // all profiles: the profile in use appends to its own as the user browses. Empty with
    // `error` set when there is none.
    QString newest(QString& error) const;

private:
    QStringList m_roots;
};
