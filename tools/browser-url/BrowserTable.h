#pragma once

#include <optional>

#include <QString>
#include <QStringList>

// The browsers this program reads, by the desktop id it is called as.
class BrowserTable {
public:
    enum class Family { firefox, chromium };

    struct Browser {
        Family family;
        // Folders that hold the browser's profiles, most likely first.
        QStringList roots;
    };

    // `home` and `configHome` are $HOME and $XDG_CONFIG_HOME (empty: ~/.config).
    BrowserTable(const QString& home, const QString& configHome);

    std::optional<Browser> browser(const QString& desktopId) const;
    static QStringList desktopIds();

private:
    QString m_home;
    QString m_configHome;
};
