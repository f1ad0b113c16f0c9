#pragma once

#include <QString>

// A small tmpfs mounted over a folder, to fill up or turn read-only like a real disk. Needs
// the right to mount (root); available() says whether it could.
class SmallDisk {
public:
    SmallDisk(QString folder, int megabytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool available() const { return m_mounted; }
    // Writes a filler file until no more than `leftBytes` are free.
    bool fill(qint64 leftBytes = 0);
    void freeSpace();
    bool makeReadOnly();

private:
    QString fillerPath() const;

    const QString m_folder;
    bool m_mounted = false;
};
