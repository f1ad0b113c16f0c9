#include "thieves/FrontmostItemReader.h"

#include <QUrl>

#include "dispatch/Clock.h"
#include "thieves/BrowserScriptRunner.h"
#include "thieves/FrontmostSource.h"
#include "thieves/WebsiteHost.h"

FrontmostItemReader::FrontmostItemReader(FrontmostSource& source, BrowserScriptRunner& scripts,
                                         QStringList browsers)
    : m_source(source)
    , m_scripts(scripts)
    , m_browsers(std::move(browsers))
{}

std::optional<FrontmostItem> FrontmostItemReader::read(QString& error)
{
    const std::optional<FrontmostApplication> front = m_source.frontmost();
    if (!front)
        return std::nullopt;
    FrontmostItem application{true, front->identifier.value_or(QString()),
                              front->name.isEmpty() ? QStringLiteral("n/a") : front->name,
                              front->icon};
    if (!front->identifier || !m_browsers.contains(*front->identifier))
        return application;

    const QString& browser = *front->identifier;
    const double now = Clock::current();
    std::optional<PageAddress> remembered = m_memo.recall(browser, front->title, now);
    if (!remembered) {
        remembered = m_scripts.pageAddress(browser);
        m_memo.remember(browser, front->title, now, *remembered);
    }
    const PageAddress& page = *remembered;
    switch (page.outcome) {
    case PageAddress::Outcome::noScript:
        return application;
    case PageAddress::Outcome::error:
        error = page.text;
        return std::nullopt;
    case PageAddress::Outcome::address:
        break;
    }
    const QUrl url(page.text, QUrl::StrictMode);
    const QString host = url.isValid() ? url.host().toLower() : QString();
    if (host.isEmpty())
        return std::nullopt;
    const QString domain = WebsiteHost::withoutWww(host);
    return FrontmostItem{false, domain, domain, std::nullopt};
}
