#pragma once

#include <QString>
#include <QStringList>

// The session file of the Firefox profile in use.
class FirefoxProfiles {
public:
    // `roots`: folders holding profiles.ini (and installs.ini).
    explicit FirefoxProfiles(QStringList roots);

    // sessionstore-backups/recovery.jsonlz4 of the profile in use; empty with `error` set
    // when no profile has one.
    QString recoveryFile(QString& error) const;

private:
    static QStringList profileFolders(const QString& root);

    QStringList m_roots;
};
