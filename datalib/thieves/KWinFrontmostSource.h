#pragma once

#include <memory>
#include <optional>

#include <QDBusConnection>
#include <QString>
#include <QTemporaryDir>
#include <QThread>

#include "thieves/DesktopEntryIndex.h"
#include "thieves/FrontmostSource.h"

class QDBusMessage;
class KWinWindowReport;

// The active window of KDE Plasma on Wayland. KWin tells no other client which window is
// active, so Zestra loads a small script into it (over KWin's scripting service on the
// session bus) that reports each activated window's desktop file name back to an object of
// Zestra's own connection. The script is unloaded when the source goes.
class TALLYCORE_EXPORT KWinFrontmostSource final : public FrontmostSource {
public:
    // The name the script is loaded under; a script left behind by an earlier run is replaced.
    static constexpr const char* pluginName = "org.zestra.Zestra.FrontmostWindow";
    static constexpr const char* reportPath = "/org/zestra/Zestra/KWinWindowReport";

    // Loads and starts the script on the session bus; canSee() says whether that worked.
    KWinFrontmostSource();
    ~KWinFrontmostSource() override;
    KWinFrontmostSource(const KWinFrontmostSource&) = delete;
    KWinFrontmostSource& operator=(const KWinFrontmostSource&) = delete;

    // False when KWin's scripting service did not take the script, or KWin has since quit.
    bool canSee() const override;
    std::optional<FrontmostApplication> frontmost() override;

private:
    bool loadScript();
    std::optional<QString> writeScript();
    QDBusMessage callKWin(const QString& path, const QString& interface, const QString& method,
                          const QVariantList& arguments = {});

    QString m_connectionName;
    QDBusConnection m_bus;
    QTemporaryDir m_scriptDir;
    QThread m_thread;
    // Lives on m_thread and is deleted there when it ends.
    KWinWindowReport* m_report = nullptr;
    bool m_loaded = false;
    DesktopEntryIndex m_entries;
    QString m_lastName;
    std::optional<FrontmostApplication> m_last;
};
