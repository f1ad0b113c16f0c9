#pragma once

#include <QString>

// Makes user and cloud texts safe where a report places them.
class TextEscaper {
public:
    // For element content and quoted attribute values.
    static QString html(const QString& text);
    // For the inside of a single- or double-quoted string in a <script>: nothing in the
    // result ends the string or the script element.
    static QString javaScriptString(const QString& text);
};
