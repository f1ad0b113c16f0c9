#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The command log Chromium-family browsers keep their session in: "SNSS", a 32-bit version,
// then commands, each a 16-bit size (counting the id byte), an 8-bit id and its payload.
class SnssFile {
public:
    struct Command {
        quint8 id;
        QByteArray payload;
    };

    // Empty with `error` set when the file is not such a log, is encrypted, or ends inside a
    // command (a truncated or damaged file is refused whole rather than half read).
    static QList<Command> commands(const QByteArray& file, QString& error);
};
