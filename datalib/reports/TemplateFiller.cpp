#include "reports/TemplateFiller.h"

QString TemplateFiller::fill(const QString& pageTemplate, const QStringList& arguments)
{
    qsizetype size = pageTemplate.size();
    for (const QString& argument : arguments)
        size += argument.size();
    QString result;
    result.reserve(size);
    qsizetype next = 0;
    qsizetype copied = 0;
    const qsizetype length = pageTemplate.size();
    for (qsizetype i = 0; i + 1 < length; ++i) {
        if (pageTemplate[i] != QLatin1Char('%'))
            continue;
        const QChar kind = pageTemplate[i + 1];
        if (kind == QLatin1Char('@')) {
            result += QStringView(pageTemplate).sliced(copied, i - copied);
            if (next < arguments.size())
                result += arguments[next];
            ++next;
        } else if (kind == QLatin1Char('%')) {
            result += QStringView(pageTemplate).sliced(copied, i - copied + 1);
        } else {
            continue;
        }
        ++i;
        copied = i + 1;
    }
    result += QStringView(pageTemplate).sliced(copied);
    return result;
}
