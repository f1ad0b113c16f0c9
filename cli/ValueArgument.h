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
    // A number of tasks, one or more.
    static std::optional<std::int32_t> count(const QString& text, QString& error);
    // "#" and six hexadecimal digits, answered in lower case as the catalogue stores colours.
    static std::optional<QString> color(const QString& text, QString& error);
    // Any text but an empty one.
    static std::optional<QString> taskName(const QString& text, QString& error);
};
