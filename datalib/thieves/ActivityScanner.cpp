#include "thieves/ActivityScanner.h"

#include "Console.h"
#include "dispatch/Clock.h"
#include "store/DataController.h"
#include "thieves/ApplicationIcon.h"
#include "thieves/BrowserScriptRunner.h"
#include "thieves/FrontmostSource.h"
#include "thieves/ThiefImages.h"
#include "thieves/ThiefKind.h"

ActivityScanner::ActivityScanner(DataController& store, QStringList browsers,
                                 std::unique_ptr<FrontmostSource> source,
                                 std::unique_ptr<BrowserScriptRunner> scripts)
    : m_store(store)
    , m_source(std::move(source))
    , m_scripts(std::move(scripts))
    , m_reader(*m_source, *m_scripts, std::move(browsers))
    , m_queue(QStringLiteral("org.zestra.Zestra.thieves/.Timer"))
    , m_timer(m_queue, [this] { sample(); })
{}

ActivityScanner::~ActivityScanner()
{
    m_sampling = false;
    m_timer.cancel();
    m_queue.sync([] {});
}

bool ActivityScanner::canSee() const
{
    return m_source->canSee();
}

void ActivityScanner::start()
{
    if (m_running)
        return;
    if (!m_source->canSee()) {
        if (!m_saidBlind)
            Console::line(QStringLiteral("This desktop does not let Zestra see the frontmost "
                                         "application; no activity is recorded."));
        m_saidBlind = true;
        return;
    }
    m_running = true;
    m_sampling = true;
    m_queue.async([this] { sample(); });
    m_timer.schedule(Clock::current() + 1.0, 1.0, 0.001);
    m_timer.resume();
}

void ActivityScanner::stop()
{
    if (!m_running)
        return;
    m_running = false;
    m_sampling = false;
    m_timer.suspend();
    m_queue.sync([this] {
        storeInProgress(Clock::current());
        m_inProgress.reset();
    });
}

void ActivityScanner::saveBeforeTerminate()
{
    m_queue.sync([this] {
        storeInProgress(Clock::current());
        m_inProgress.reset();
    });
}

void ActivityScanner::waitForSamples()
{
    m_queue.sync([] {});
}

void ActivityScanner::sample()
{
    if (!m_sampling)
        return;
    QString error;
    const std::optional<FrontmostItem> item = m_reader.read(error);
    // A failing script fails every second: say it when it changes, not each time.
    if (!error.isEmpty() && error != m_lastError)
        Console::line(QStringLiteral("browser script: ") + error);
    m_lastError = error;
    if (item)
        take(*item);
}

bool ActivityScanner::sameItem(const FrontmostItem& a, const FrontmostItem& b)
{
    if (a.isApplication != b.isApplication || a.identifier != b.identifier)
        return false;
    // Windows of no known application tell apart by their name only.
    return !a.identifier.isEmpty() || a.name == b.name;
}

void ActivityScanner::take(const FrontmostItem& item)
{
    if (m_inProgress && sameItem(m_inProgress->item, item))
        return;
    const double now = Clock::current();
    if (m_inProgress) {
        storeInProgress(now);
        if (m_inProgress->item.isApplication)
            Console::line(QStringLiteral("Activity %1 saved").arg(m_inProgress->item.identifier));
    }
    Stretch stretch{now, item, std::nullopt};
    if (item.isApplication) {
        if (item.icon)
            stretch.image = ApplicationIcon::data(*item.icon);
        if (!stretch.image && !item.identifier.isEmpty())
            stretch.image = ThiefImages::named(item.identifier);
    } else {
        stretch.image = ThiefImages::namedOrGeneric(item.identifier);
    }
    m_inProgress = std::move(stretch);
}

void ActivityScanner::storeInProgress(double endTime)
{
    if (!m_inProgress)
        return;
    const Stretch& stretch = *m_inProgress;
    const ThiefKind::Kind kind =
        stretch.item.isApplication ? ThiefKind::Kind::application : ThiefKind::Kind::website;
    m_store.makeWorkActivity(stretch.item.name, Date(stretch.startTime), Date(endTime),
                             stretch.item.identifier, ThiefKind::rawValue(kind), stretch.image);
}
