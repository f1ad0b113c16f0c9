#pragma once

#include <memory>
#include <optional>

#include <QString>

#include "tallycore_export.h"

// The application whose window is in front, as its desktop entry names it.
struct FrontmostApplication {
    // The desktop entry id; absent for a window that matches no installed entry.
    std::optional<QString> identifier;
    QString name;
    // The entry's Icon: a name in the icon theme or a file path.
    std::optional<QString> icon;
    // The window's title, read anew at every look; empty where the desktop does not say it.
    // A browser's changes with its page, so the scan asks the browser only then.
    QString title;
};

// Where the scanner learns which application is in front. One source serves a session; it is
// chosen once, when the scan starts, and used only from the scanner's queue.
class TALLYCORE_EXPORT FrontmostSource {
public:
    virtual ~FrontmostSource();

    // False when this desktop does not let Zestra see the frontmost application at all.
    virtual bool canSee() const = 0;
    // Absent when no window is in front (or the desktop cannot be seen).
    virtual std::optional<FrontmostApplication> frontmost() = 0;

    // The source for the running session. On Wayland: a wlroots compositor's toplevel list,
    // else KWin's scripting; then X11 (XWayland included) when the root window names the
    // active window; otherwise one that cannot see.
    static std::unique_ptr<FrontmostSource> forSession();
};
