#pragma once

#include <QByteArray>
#include <QString>

#include "chimebox_export.h"

// Replaces a file's content all at once: the new bytes go to a file beside it that takes the
// old one's place only when every byte is written. Unbuffered on purpose: a buffered write
// that fails for lack of space only fails at the final flush, which Qt's save file can take
// for success, and the old content is then gone.
class CHIMEBOX_EXPORT AtomicFile {
public:
    // False, with `error` saying why, when the file could not be replaced; it then holds its
    // previous content.
    static bool write(const QString& path, const QByteArray& bytes, QString& error);
};
