#include "thieves/PageAddressMemo.h"

#include <iterator>

std::optional<PageAddress> PageAddressMemo::recall(const QString& desktopId, const QString& title,
                                                   double now) const
{
    if (!m_memo || m_memo->desktopId != desktopId)
        return std::nullopt;
    const Memo& memo = *m_memo;
    // A clock running backwards (a test's, a changed system time) asks anew.
    if (now < memo.askedAt)
        return std::nullopt;
    if (title.isEmpty())
        return memo.title.isEmpty() && now - memo.askedAt < untitledGap ? std::optional(memo.answer)
                                                                        : std::nullopt;
    if (memo.title != title)
        return now - memo.askedAt < shortestGap ? std::optional(memo.answer) : std::nullopt;
    if (memo.asksAgain < static_cast<int>(std::size(askAgainAfter)) &&
        now - memo.changedAt >= askAgainAfter[memo.asksAgain])
        return std::nullopt;
    return memo.answer;
}

void PageAddressMemo::remember(const QString& desktopId, const QString& title, double now,
                               const PageAddress& answer)
{
    if (m_memo && m_memo->desktopId == desktopId && m_memo->title == title && !title.isEmpty()) {
        // Asked again for the same title: the next time is the first still to come.
        Memo& memo = *m_memo;
        memo.answer = answer;
        memo.askedAt = now;
        while (memo.asksAgain < static_cast<int>(std::size(askAgainAfter)) &&
               now - memo.changedAt >= askAgainAfter[memo.asksAgain])
            ++memo.asksAgain;
        return;
    }
    m_memo = Memo{desktopId, title, answer, now, now, 0};
}
