#include "ValueArgument.h"

#include <limits>

#include <QRegularExpression>

namespace {

std::optional<std::int32_t> wholeNumber(const QString& text, std::int32_t minimum,
                                        const QString& what, QString& error)
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
    if (!ok || value > static_cast<qulonglong>(std::numeric_limits<std::int32_t>::max()) ||
        value < static_cast<qulonglong>(minimum)) {
        error = QStringLiteral("%1 %2 is out of range (%3 to %4)")
                    .arg(text, what)
                    .arg(minimum)
                    .arg(std::numeric_limits<std::int32_t>::max());
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

} // namespace

std::optional<std::int32_t> ValueArgument::seconds(const QString& text, QString& error)
{
    return wholeNumber(text, 0, QStringLiteral("seconds"), error);
}

std::optional<std::int32_t> ValueArgument::count(const QString& text, QString& error)
{
    return wholeNumber(text, 1, QStringLiteral("tasks"), error);
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
    if (text.isEmpty()) {
        error = QStringLiteral("a task name must not be empty");
        return std::nullopt;
    }
    return text;
}
