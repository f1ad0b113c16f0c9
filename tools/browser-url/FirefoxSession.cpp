#include "FirefoxSession.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// Firefox counts windows, tabs and entries from 1; out of range means the last one.
QJsonValue pick(const QJsonArray& items, const QJsonValue& oneBased)
{
    const int index = oneBased.toInt(0);
    if (index >= 1 && index <= items.size())
        return items.at(index - 1);
    return items.isEmpty() ? QJsonValue() : items.last();
}

} // namespace

PageUrl FirefoxSession::selectedPage(const QByteArray& json)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return PageUrl::failed(QStringLiteral("session JSON is malformed at byte %1: %2")
                                   .arg(parseError.offset)
                                   .arg(parseError.errorString()));
    const QJsonObject session = document.object();
    const QJsonArray windows = session.value(QLatin1String("windows")).toArray();
    if (windows.isEmpty())
        return PageUrl::failed(QStringLiteral("the session has no open window"));
    // An index that is missing or out of range (0 when no window has the focus) takes the
    // last item, the one most recently opened.
    const QJsonObject window =
        pick(windows, session.value(QLatin1String("selectedWindow"))).toObject();
    const QJsonArray tabs = window.value(QLatin1String("tabs")).toArray();
    const QJsonObject tab = pick(tabs, window.value(QLatin1String("selected"))).toObject();
    const QJsonArray entries = tab.value(QLatin1String("entries")).toArray();
    const QString url =
        pick(entries, tab.value(QLatin1String("index"))).toObject().value("url").toString();
    if (url.isEmpty())
        return PageUrl::failed(QStringLiteral("the selected tab has no page address"));
    return PageUrl::found(url);
}
