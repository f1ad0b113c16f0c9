#pragma once

#include <cstdint>
#include <optional>

#include <QString>

// The plain values of the command line. Numbers are decimal ASCII digits only: no sign,
// no spaces, no exponent, within 32 bits as the store keeps them.
class ValueArgument {
public:
    // A duration in whole seconds, zero or more.
    static std::optional<std::int32_t> seconds(const QString& text, QString& error);
    // How long a task ran: more than zero seconds and at most a day.
    static std::optional<std::int32_t> taskDuration(const QString& text, QString& error);
    // A number of tasks, one or more.
    static std::optional<std::int32_t> count(const QString& text, QString& error);
    // "#" and six hexadecimal digits, answered in lower case as the catalogue stores colours.
    static std::optional<QString> color(const QString& text, QString& error);
    // The text without its surrounding blanks (as the task creator keeps names); refused when
    // nothing is left or it holds a control character or a line break.
    static std::optional<QString> taskName(const QString& text, QString& error);
};
