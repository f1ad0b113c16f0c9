#include "BrowserTable.h"

namespace {

struct Row {
    const char* desktopId;
    BrowserTable::Family family;
    // Below $XDG_CONFIG_HOME, or below $HOME for a Flatpak's own folder (sandboxed apps keep
    // their configuration in ~/.var/app/<id>/).
    const char* configFolder;
    const char* homeFolder;
};

// Firefox moved new profiles from ~/.mozilla to $XDG_CONFIG_HOME/mozilla; both are read.
constexpr Row rows[] = {
    {"firefox", BrowserTable::Family::firefox, "mozilla/firefox", ".mozilla/firefox"},
    {"firefox-esr", BrowserTable::Family::firefox, "mozilla/firefox", ".mozilla/firefox"},
    {"org.mozilla.firefox", BrowserTable::Family::firefox, nullptr,
     ".var/app/org.mozilla.firefox/.mozilla/firefox"},
    {"chromium", BrowserTable::Family::chromium, "chromium", nullptr},
    {"org.chromium.Chromium", BrowserTable::Family::chromium, nullptr,
     ".var/app/org.chromium.Chromium/config/chromium"},
    {"google-chrome", BrowserTable::Family::chromium, "google-chrome", nullptr},
    {"com.google.Chrome", BrowserTable::Family::chromium, nullptr,
     ".var/app/com.google.Chrome/config/google-chrome"},
    {"brave-browser", BrowserTable::Family::chromium, "BraveSoftware/Brave-Browser", nullptr},
    {"com.brave.Browser", BrowserTable::Family::chromium, nullptr,
     ".var/app/com.brave.Browser/config/BraveSoftware/Brave-Browser"},
    {"microsoft-edge", BrowserTable::Family::chromium, "microsoft-edge", nullptr},
    {"vivaldi-stable", BrowserTable::Family::chromium, "vivaldi", nullptr},
};

} // namespace

BrowserTable::BrowserTable(const QString& home, const QString& configHome)
    : m_home(home)
    , m_configHome(configHome.isEmpty() ? home + QStringLiteral("/.config") : configHome)
{}

std::optional<BrowserTable::Browser> BrowserTable::browser(const QString& desktopId) const
{
    for (const Row& row : rows) {
        if (desktopId != QLatin1String(row.desktopId))
            continue;
        Browser browser{row.family, {}};
        if (row.configFolder)
            browser.roots.append(m_configHome + QLatin1Char('/') + QLatin1String(row.configFolder));
        if (row.homeFolder)
            browser.roots.append(m_home + QLatin1Char('/') + QLatin1String(row.homeFolder));
        return browser;
    }
    return std::nullopt;
}

QStringList BrowserTable::desktopIds()
{
    QStringList ids;
    for (const Row& row : rows)
        ids.append(QLatin1String(row.desktopId));
    return ids;
}
