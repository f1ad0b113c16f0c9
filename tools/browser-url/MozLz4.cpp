#include "MozLz4.h"

#include <lz4.h>

namespace {

constexpr char magic[] = "mozLz40"; // with its terminating zero: 8 bytes
constexpr qsizetype headerSize = 12;
// A session of thousands of tabs stays far below this; anything larger is a broken header.
constexpr quint32 largestSize = 256u << 20;

} // namespace

QByteArray MozLz4::decompress(const QByteArray& file, QString& error)
{
    if (file.size() < headerSize || memcmp(file.constData(), magic, sizeof magic) != 0) {
        error = QStringLiteral("not a mozLz4 file (no mozLz40 header)");
        return {};
    }
    const auto* size = reinterpret_cast<const unsigned char*>(file.constData() + 8);
    const quint32 expected = size[0] | size[1] << 8 | size[2] << 16 | quint32(size[3]) << 24;
    if (expected == 0 || expected > largestSize) {
        error = QStringLiteral("mozLz4 header gives an impossible size (%1 bytes)").arg(expected);
        return {};
    }
    QByteArray out(static_cast<qsizetype>(expected), Qt::Uninitialized);
    const int written =
        LZ4_decompress_safe(file.constData() + headerSize, out.data(),
                            static_cast<int>(file.size() - headerSize), static_cast<int>(expected));
    if (written < 0) {
        error = QStringLiteral("mozLz4 data is truncated or corrupt");
        return {};
    }
    if (static_cast<quint32>(written) != expected) {
        error = QStringLiteral("mozLz4 data gives %1 bytes where the header says %2")
                    .arg(written)
                    .arg(expected);
        return {};
    }
    return out;
}
