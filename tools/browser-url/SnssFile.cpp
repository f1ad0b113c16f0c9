#include "SnssFile.h"

#include <QtEndian>

namespace {

// 1 and 3 are plain; 2 and 4 are their encrypted forms, which only the browser can read.
bool plainVersion(qint32 version)
{
    return version == 1 || version == 3;
}

} // namespace

QList<SnssFile::Command> SnssFile::commands(const QByteArray& file, QString& error)
{
    if (file.size() < 8 || !file.startsWith("SNSS")) {
        error = QStringLiteral("not a session file (no SNSS header)");
        return {};
    }
    const qint32 version = qFromLittleEndian<qint32>(file.constData() + 4);
    if (!plainVersion(version)) {
        error = version == 2 || version == 4
                    ? QStringLiteral("the session file is encrypted (version %1)").arg(version)
                    : QStringLiteral("unknown session file version %1").arg(version);
        return {};
    }
    QList<Command> commands;
    qsizetype at = 8;
    while (at < file.size()) {
        if (file.size() - at < 2) {
            error =
                QStringLiteral("the session file ends inside a command size at byte %1").arg(at);
            return {};
        }
        const quint16 size = qFromLittleEndian<quint16>(file.constData() + at);
        at += 2;
        if (size == 0) {
            error = QStringLiteral("the session file has an empty command at byte %1").arg(at);
            return {};
        }
        if (file.size() - at < size) {
            error = QStringLiteral("the session file ends inside a command at byte %1 "
                                   "(%2 bytes announced, %3 left)")
                        .arg(at)
                        .arg(size)
                        .arg(file.size() - at);
            return {};
        }
        commands.append({static_cast<quint8>(file.at(at)), file.mid(at + 1, size - 1)});
        at += size;
    }
    return commands;
}
