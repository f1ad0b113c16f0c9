#include "CommandArguments.h"

namespace {

bool looksLikeOption(const QString& word)
{
    return word.size() > 1 && word.startsWith(QLatin1Char('-'));
}

} // namespace

std::optional<CommandArguments> CommandArguments::parse(const QStringList& words,
                                                        const Shape& shape, QString& error)
{
    CommandArguments parsed;
    const qsizetype mostPositionals = shape.requiredPositionals + shape.optionalPositionals;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words.at(i);
        if (optionsEnded || !looksLikeOption(word)) {
            parsed.m_positionals.append(word);
            // Once the command has all its positionals, what follows may be options again:
            // "add-task-info -- -dash --color C".
            if (optionsEnded && parsed.m_positionals.size() >= mostPositionals)
                optionsEnded = false;
            continue;
        }
        if (word == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        QString name = word;
        std::optional<QString> value;
        const qsizetype equals = word.indexOf(QLatin1Char('='));
        if (equals > 0) {
            name = word.left(equals);
            value = word.mid(equals + 1);
        }
        const bool isFlag = shape.flags.contains(name);
        if (!isFlag && !shape.requiredOptions.contains(name) &&
            !shape.optionalOptions.contains(name)) {
            error = QStringLiteral("unknown option %1").arg(name);
            return std::nullopt;
        }
        if (parsed.m_options.contains(name)) {
            error = QStringLiteral("option %1 given more than once").arg(name);
            return std::nullopt;
        }
        if (isFlag) {
            if (value) {
                error = QStringLiteral("option %1 takes no value").arg(name);
                return std::nullopt;
            }
            value = QString();
        }
        if (!value) {
            // The next word is the value whatever it looks like, so "--duration -5" reaches
            // the number check and is refused there as negative.
            if (i + 1 >= words.size()) {
                error = QStringLiteral("option %1 needs a value").arg(name);
                return std::nullopt;
            }
            value = words.at(++i);
        }
        parsed.m_options.insert(name, *value);
    }

    for (const QString& name : shape.requiredOptions) {
        if (!parsed.m_options.contains(name)) {
            error = QStringLiteral("option %1 is required").arg(name);
            return std::nullopt;
        }
    }
    if (parsed.m_positionals.size() < shape.requiredPositionals) {
        error = QStringLiteral("missing argument");
        return std::nullopt;
    }
    if (parsed.m_positionals.size() > shape.requiredPositionals + shape.optionalPositionals) {
        error = QStringLiteral("unexpected argument \"%1\"")
                    .arg(parsed.m_positionals.at(shape.requiredPositionals +
                                                 shape.optionalPositionals));
        return std::nullopt;
    }
    return parsed;
}

std::optional<QString> CommandArguments::option(const QString& name) const
{
    const auto found = m_options.constFind(name);
    if (found == m_options.constEnd())
        return std::nullopt;
    return *found;
}
