#include "ValueArgument.h"

#include <limits>

#include <QRegularExpression>

namespace {

std::optional<std::int32_t> wholeNumber(const QString& text, std::int32_t minimum,
                                        std::int32_t maximum, const QString& what, QString& error)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    static const QRegularExpression negative(QStringLiteral("^-[0-9]+$"));
    if (negative.match(text).hasMatch()) {
        error = QStringLiteral("%1 must not be negative (got %2)").arg(what, text);
        return std::nullopt;
    }
    if (!digits.match(text).hasMatch()) {
        error = QStringLiteral("\"%1\" is not a whole number of %2").arg(text, what);
        return std::nullopt;
    }
    bool ok = false;
    const qulonglong value = text.toULongLong(&ok);
    if (!ok || value > static_cast<qulonglong>(maximum) ||
        value < static_cast<qulonglong>(minimum)) {
        error = QStringLiteral("%1 %2 is out of range (%3 to %4)")
                    .arg(text, what)
                    .arg(minimum)
                    .arg(maximum);
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

} // namespace

std::optional<std::int32_t> ValueArgument::seconds(const QString& text, QString& error)
{
    return wholeNumber(text, 0, std::numeric_limits<std::int32_t>::max(), QStringLiteral("seconds"),
                       error);
}

std::optional<std::int32_t> ValueArgument::taskDuration(const QString& text, QString& error)
{
    constexpr std::int32_t day = 24 * 60 * 60;
    return wholeNumber(text, 1, day, QStringLiteral("seconds"), error);
}

std::optional<std::int32_t> ValueArgument::count(const QString& text, QString& error)
{
    return wholeNumber(text, 1, std::numeric_limits<std::int32_t>::max(), QStringLiteral("tasks"),
                       error);
}

std::optional<QString> ValueArgument::color(const QString& text, QString& error)
{
    static const QRegularExpression pattern(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
    if (!pattern.match(text).hasMatch()) {
        error = QStringLiteral("\"%1\" is not a colour like #59b6e8").arg(text);
        return std::nullopt;
    }
    return text.toLower();
}

std::optional<QString> ValueArgument::taskName(const QString& text, QString& error)
{
    const QString name = text.trimmed();
    if (name.isEmpty()) {
        error = QStringLiteral("a task name must not be empty");
        return std::nullopt;
    }
    // A tab or a line break would break the CSV export and every listing of names.
    for (const QChar c : name) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line ||
            category == QChar::Separator_Paragraph) {
            const QString code = QStringLiteral("%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            error = QStringLiteral("a task name must not hold control characters or line breaks "
                                   "(U+%1)")
                        .arg(code.toUpper());
            return std::nullopt;
        }
    }
    return name;
}
