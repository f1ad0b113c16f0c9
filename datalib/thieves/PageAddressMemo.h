#pragma once

#include <optional>

#include <QString>

#include "thieves/BrowserScriptRunner.h"

// What a browser's script last said, and whether it still holds, so that the scan runs the
// script only when the browser's window title changes. The browsers' session files lag the
// screen (Chromium's by about 2.5 s, Firefox's by up to 15 s), so after a change the script
// is asked again a few times, then not until the next change.
class TALLYCORE_EXPORT PageAddressMemo {
public:
    // Seconds after a title change at which the answer is asked again.
    static constexpr double askAgainAfter[] = {5, 10, 16, 32};
    // A title that changes all the time (a clock, a counter) is followed at most this often.
    static constexpr double shortestGap = 5;
    // A window without a title is asked this often.
    static constexpr double untitledGap = 10;

    // The remembered answer for this browser window at `now` (seconds), or nothing when the
    // script has to be asked.
    std::optional<PageAddress> recall(const QString& desktopId, const QString& title,
                                      double now) const;
    void remember(const QString& desktopId, const QString& title, double now,
                  const PageAddress& answer);

private:
    struct Memo {
        QString desktopId;
        QString title;
        PageAddress answer;
        double changedAt = 0;
        double askedAt = 0;
        // How many of askAgainAfter have been asked.
        int asksAgain = 0;
    };
    std::optional<Memo> m_memo;
};
