#include "SmallDisk.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>

SmallDisk::SmallDisk(QString folder, int megabytes)
    : m_folder(std::move(folder))
{
    QDir().mkpath(m_folder);
    const QByteArray options = "size=" + QByteArray::number(megabytes) + "m,mode=0755";
    m_mounted = ::mount("tmpfs", QFile::encodeName(m_folder).constData(), "tmpfs", 0,
                        options.constData()) == 0;
}

SmallDisk::~SmallDisk()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
}

QString SmallDisk::fillerPath() const
{
    return m_folder + QStringLiteral("/filler");
}

bool SmallDisk::fill(qint64 leftBytes)
{
    const int fd =
        ::open(QFile::encodeName(fillerPath()).constData(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (fd < 0)
        return false;
    const QByteArray block(4096, 'f');
    while (::write(fd, block.constData(), static_cast<size_t>(block.size())) > 0) {
    }
    // Down to the last byte: a partial block may still fit.
    while (::write(fd, "f", 1) > 0) {
    }
    const off_t size = ::lseek(fd, 0, SEEK_END);
    const bool done = size >= leftBytes && ::ftruncate(fd, size - leftBytes) == 0;
    ::close(fd);
    return done;
}

void SmallDisk::freeSpace()
{
    QFile::remove(fillerPath());
}

bool SmallDisk::makeReadOnly()
{
    return ::mount("tmpfs", QFile::encodeName(m_folder).constData(), "tmpfs",
                   MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}
