#pragma once

#include <QByteArray>
#include <QString>

// Firefox's compressed JSON files: "mozLz40\0", the decompressed size as 4 bytes little
// endian, then one LZ4 block.
class MozLz4 {
public:
    // Empty with `error` set when the bytes are not such a file or do not decompress.
    static QByteArray decompress(const QByteArray& file, QString& error);
};
