#include "ColorHelpers.h"

#include <limits>

namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// 0 when nothing scans; digits past an overflow are still consumed but the value stays at
// the maximum.
quint64 scanHexadecimal(QStringView text)
{
    qsizetype at = 0;
    while (at < text.size() && text[at].isSpace())
        ++at;
    text = text.mid(at);
    if (text.size() >= 3 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X') &&
        hexDigit(text[2]) >= 0)
        text = text.mid(2);

    constexpr quint64 maximum = std::numeric_limits<quint64>::max();
    quint64 value = 0;
    for (const QChar c : text) {
        const int digit = hexDigit(c);
        if (digit < 0)
            break;
        if (value > (maximum >> 4))
            value = maximum;
        else
            value = (value << 4) | static_cast<quint64>(digit);
    }
    return value;
}

} // namespace

QColor ColorHelpers::color(const QString& from, double alpha)
{
    QStringView digits(from);
    if (digits.startsWith(u'#'))
        digits = digits.mid(1);
    const auto low = static_cast<quint32>(scanHexadecimal(digits));
    QColor result(static_cast<int>((low >> 16) & 0xff), static_cast<int>((low >> 8) & 0xff),
                  static_cast<int>(low & 0xff));
    // Out-of-range alphas are clamped rather than making an invalid colour (NaN gives 0).
    result.setAlphaF(static_cast<float>(qBound(0.0, alpha, 1.0)));
    return result;
}
