#include "reports/TextEscaper.h"

QString TextEscaper::html(const QString& text)
{
    QString result;
    result.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            result += QLatin1String("&amp;");
            break;
        case '<':
            result += QLatin1String("&lt;");
            break;
        case '>':
            result += QLatin1String("&gt;");
            break;
        case '"':
            result += QLatin1String("&quot;");
            break;
        case '\'':
            result += QLatin1String("&#39;");
            break;
        default:
            result += c;
        }
    }
    return result;
}

QString TextEscaper::javaScriptString(const QString& text)
{
    QString result;
    result.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            result += QLatin1String("\\\\");
            break;
        case '\'':
            result += QLatin1String("\\'");
            break;
        case '"':
            result += QLatin1String("\\\"");
            break;
        case '\n':
            result += QLatin1String("\\n");
            break;
        case '\r':
            result += QLatin1String("\\r");
            break;
        // "</script>" and "<!--" would end or change the script element around the string.
        case '<':
            result += QLatin1String("\\x3C");
            break;
        case '>':
            result += QLatin1String("\\x3E");
            break;
        case 0x2028:
            result += QLatin1String("\\u2028");
            break;
        case 0x2029:
            result += QLatin1String("\\u2029");
            break;
        default:
            if (c.unicode() < 0x20)
                result += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                result += c;
        }
    }
    return result;
}
