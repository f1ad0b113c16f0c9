#include "ChromiumSession.h"

#include <QtEndian>

namespace {

// The command ids of the session log that say where the selected page is; the others (window
// bounds, pinned state, tab groups, ...) are skipped.
enum CommandId : quint8 {
    setTabWindow = 0,
    setTabIndexInWindow = 2,
    tabNavigationPathPrunedFromBack = 5,
    updateTabNavigation = 6,
    setSelectedNavigationIndex = 7,
    setSelectedTabInIndex = 8,
    tabNavigationPathPrunedFromFront = 11,
    tabClosed = 16,
    windowClosed = 17,
    setActiveWindow = 20,
    tabNavigationPathPruned = 24,
};

// Payloads are host-order structs of 32-bit ids and indexes.
qint32 field(const QByteArray& payload, int index)
{
    return qFromLittleEndian<qint32>(payload.constData() + 4 * index);
}

// Fields a command's payload must hold at least.
int fieldsNeeded(quint8 id)
{
    switch (id) {
    case setActiveWindow:
    case tabClosed:
    case windowClosed:
        return 1;
    case setTabWindow:
    case setTabIndexInWindow:
    case tabNavigationPathPrunedFromBack:
    case setSelectedNavigationIndex:
    case setSelectedTabInIndex:
    case tabNavigationPathPrunedFromFront:
        return 2;
    case tabNavigationPathPruned:
        return 3;
    default:
        return 0;
    }
}

} // namespace

PageUrl ChromiumSession::activePage(const QList<SnssFile::Command>& commands)
{
    ChromiumSession session;
    for (const SnssFile::Command& command : commands) {
        QString error;
        if (!session.apply(command, error))
            return PageUrl::failed(error);
    }
    return session.answer();
}

bool ChromiumSession::apply(const SnssFile::Command& command, QString& error)
{
    const QByteArray& p = command.payload;
    if (p.size() < 4 * fieldsNeeded(command.id)) {
        error = QStringLiteral("session command %1 is too short (%2 bytes)")
                    .arg(command.id)
                    .arg(p.size());
        return false;
    }
    switch (command.id) {
    case setTabWindow: {
        m_tabs[field(p, 1)].window = field(p, 0);
        Window& window = m_windows[field(p, 0)];
        if (!window.order)
            window.order = ++m_nextOrder;
        break;
    }
    case setTabIndexInWindow:
        m_tabs[field(p, 0)].position = field(p, 1);
        break;
    case setSelectedNavigationIndex:
        m_tabs[field(p, 0)].selectedNavigation = field(p, 1);
        break;
    case setSelectedTabInIndex:
        m_windows[field(p, 0)].selectedPosition = field(p, 1);
        break;
    case setActiveWindow:
        m_activeWindow = field(p, 0);
        break;
    case tabClosed:
        m_tabs.remove(field(p, 0));
        break;
    case windowClosed:
        m_windows.remove(field(p, 0));
        break;
    case tabNavigationPathPrunedFromBack: {
        // Navigations from `index` on are gone.
        auto& navigations = m_tabs[field(p, 0)].navigations;
        navigations.erase(navigations.lowerBound(field(p, 1)), navigations.end());
        break;
    }
    case tabNavigationPathPrunedFromFront:
    case tabNavigationPathPruned: {
        // `count` navigations from `index` (0 from the front) are gone; later ones move down.
        Tab& tab = m_tabs[field(p, 0)];
        const bool front = command.id == tabNavigationPathPrunedFromFront;
        const qint32 index = front ? 0 : field(p, 1);
        const qint32 count = front ? field(p, 1) : field(p, 2);
        QMap<qint32, QString> kept;
        for (auto it = tab.navigations.cbegin(); it != tab.navigations.cend(); ++it) {
            if (it.key() < index)
                kept.insert(it.key(), it.value());
            else if (it.key() - index >= count)
                kept.insert(it.key() - count, it.value());
        }
        tab.navigations = kept;
        if (tab.selectedNavigation >= index + count)
            tab.selectedNavigation -= count;
        break;
    }
    case updateTabNavigation:
        if (!updateNavigation(p)) {
            error = QStringLiteral("a navigation in the session file is malformed");
            return false;
        }
        break;
    default:
        break;
    }
    return true;
}

bool ChromiumSession::updateNavigation(const QByteArray& payload)
{
    // A pickle: its payload size, then the tab id, the navigation's index and its virtual
    // URL as a length and bytes (title, page state and more follow, unread).
    if (payload.size() < 16)
        return false;
    const quint32 pickled = qFromLittleEndian<quint32>(payload.constData());
    if (pickled > static_cast<quint32>(payload.size() - 4))
        return false;
    const qint32 length = field(payload, 3);
    if (length < 0 || length > payload.size() - 16)
        return false;
    m_tabs[field(payload, 1)].navigations.insert(field(payload, 2),
                                                 QString::fromUtf8(payload.mid(16, length)));
    return true;
}

PageUrl ChromiumSession::answer() const
{
    // The window that was last active, else the first opened of those still open.
    std::optional<qint32> windowId;
    if (m_activeWindow && m_windows.contains(*m_activeWindow))
        windowId = m_activeWindow;
    if (!windowId) {
        qint64 first = 0;
        for (auto it = m_windows.cbegin(); it != m_windows.cend(); ++it) {
            if (!windowId || (it->order && (!first || it->order < first))) {
                windowId = it.key();
                first = it->order;
            }
        }
    }
    if (!windowId)
        return PageUrl::failed(QStringLiteral("the session has no open window"));
    const Window& window = m_windows[*windowId];
    for (const Tab& tab : m_tabs) {
        if (tab.window != *windowId || tab.position != window.selectedPosition)
            continue;
        const QString url = tab.navigations.value(tab.selectedNavigation);
        if (url.isEmpty())
            return PageUrl::failed(QStringLiteral("the selected tab has no page address"));
        return PageUrl::found(url);
    }
    return PageUrl::failed(QStringLiteral("the active window has no selected tab"));
}
