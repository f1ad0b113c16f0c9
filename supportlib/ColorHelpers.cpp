#include "ColorHelpers.h"

QColor ColorHelpers::color(const QString& from, double alpha)
{
    QStringView digits(from);
    if (digits.startsWith(QLatin1Char('#')))
        digits = digits.mid(1);
    // Scan the longest hexadecimal prefix, as a scanner would; overflow keeps the low bits.
    quint64 value = 0;
    for (const QChar c : digits) {
        const int digit =
            QChar(c).isDigit()                                 ? c.unicode() - '0'
            : (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ? c.unicode() - 'a' + 10
            : (c >= QLatin1Char('A') && c <= QLatin1Char('F')) ? c.unicode() - 'A' + 10
                                                               : -1;
        if (digit < 0)
            break;
        value = (value << 4) | static_cast<quint64>(digit);
    }
    const auto low = static_cast<quint32>(value);
    return QColor::fromRgbF(static_cast<float>(((low >> 16) & 0xff) / 255.0),
                            static_cast<float>(((low >> 8) & 0xff) / 255.0),
                            static_cast<float>((low & 0xff) / 255.0), static_cast<float>(alpha));
}
