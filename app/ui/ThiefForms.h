#pragma once

#include <optional>

#include <QString>
#include <QVariantMap>

class DesktopEntry;

// What the two thief creators check before anything is saved: each answers the thief's
// dictionary, or why the input makes none (a text to show the user).
class ThiefForms {
public:
    static constexpr int maximumNameLength = 25;

    // A website: a name of 1 to 25 characters and a domain, typed or pasted as an address,
    // whose host is kept lower case and without "www." as the scanner records it.
    static std::optional<QVariantMap> website(const QString& name, const QString& domain,
                                              QString& error);
    // An installed application: its desktop entry must have a name and an id.
    static std::optional<QVariantMap> application(const DesktopEntry& entry, QString& error);
};
