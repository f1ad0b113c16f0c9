#include <gtest/gtest.h>

#include <memory>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTime>
#include <QToolButton>

#include "settings/Settings.h"
#include "store/DataController.h"
#include "store/Localization.h"
#include "support/ManualClock.h"
#include "support/TestEnvironment.h"
#include "thieves/ThiefDictionary.h"
#include "ui/ApplicationChooserWindowController.h"
#include "ui/ClockTime.h"
#include "ui/EmptyActivityCell.h"
#include "ui/StretchView.h"
#include "ui/ThiefCell.h"
#include "ui/ThiefCreatorWindowController.h"
#include "ui/ThiefHeaderViewController.h"
#include "ui/ThiefOnboardingWindowController.h"
#include "ui/ThiefTableViewController.h"
#include "ui/ThiefWindowController.h"

namespace {

class ThiefWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        env.clock().setNow(at("2026-06-10T18:00:00"));
        store = std::make_unique<DataController>(env.dataDirectory());
        store->addThieve(ThiefDictionary::make(QStringLiteral("YouTube"),
                                               QStringLiteral("youtube.com"),
                                               QStringLiteral("website"), true, false),
                         std::nullopt);
        store->addThieve(ThiefDictionary::make(QStringLiteral("Slack"),
                                               QStringLiteral("com.slack.Slack"),
                                               QStringLiteral("application"), true, false),
                         std::nullopt);
        store->deactivateThief(QStringLiteral("com.slack.Slack"));
    }
    void TearDown() override
    {
        window.reset();
        store.reset();
    }

    static double at(const char* isoLocal)
    {
        return TestEnvironment::localTime(QString::fromLatin1(isoLocal));
    }

    void record(const char* identifier, const char* startLocal, int seconds)
    {
        const QString id = QString::fromLatin1(identifier);
        store->makeWorkActivity(id, Date(at(startLocal)), Date(at(startLocal) + seconds), id,
                                QStringLiteral("application"), std::nullopt);
    }

    void open()
    {
        window = std::make_unique<ThiefWindowController>(*store, [this] { return installed; });
        window->show();
    }

    QStringList keys() const
    {
        QStringList keys;
        for (const ActivityCellAdapter& row : window->table()->adapters())
            keys.append(row.key);
        return keys;
    }

    QString totalOf(int row) const
    {
        auto* cell = qobject_cast<ThiefCell*>(window->table()->cell(row));
        return cell ? cell->labelTime()->text() : QString();
    }

    QString emptyTagline() const
    {
        auto* cell = qobject_cast<EmptyActivityCell*>(window->table()->cell(0));
        return cell ? cell->labelTagline()->text() : QString();
    }

    TestEnvironment env{"Europe/Madrid"};
    std::unique_ptr<DataController> store;
    std::unique_ptr<ThiefWindowController> window;
    QList<DesktopEntry> installed;
};

TEST_F(ThiefWindowTest, ModesListActiveThievesOrEveryIdentifierWithTheirTotals)
{
    record("youtube.com", "2026-06-10T10:00:00", 20);
    record("youtube.com", "2026-06-10T11:00:00", 15);
    record("com.slack.Slack", "2026-06-10T10:05:00", 90);
    record("org.gnome.TextEditor", "2026-06-10T09:00:00", 1800);
    record("youtube.com", "2026-06-09T10:00:00", 600);
    open();

    // Slack was switched off: in the thieves' listing it is not there.
    EXPECT_EQ(keys(), QStringList{QStringLiteral("youtube.com")});
    EXPECT_EQ(window->table()->cell(0)->objectName(), QStringLiteral("ThiefCellView"));
    EXPECT_EQ(totalOf(0), QStringLiteral("35 sec"));
    EXPECT_EQ(window->header()->labelMode()->text(), Localization::text("THIEF_LIST_MODE_THIEF"));

    window->buttonShowAll()->click();
    EXPECT_EQ(window->listingMode(), ThiefListing::all);
    EXPECT_EQ(window->header()->labelMode()->text(), Localization::text("THIEF_LIST_MODE_ALL"));
    EXPECT_EQ(keys(),
              (QStringList{QStringLiteral("com.slack.Slack"),
                           QStringLiteral("org.gnome.TextEditor"), QStringLiteral("youtube.com")}));
    EXPECT_EQ(window->table()->cell(0)->objectName(), QStringLiteral("WorkActivityCellView"));
    EXPECT_EQ(totalOf(0), QStringLiteral("2 min"));
    EXPECT_EQ(totalOf(1), QStringLiteral("30 min"));

    window->setSorting(ThiefSorting::time);
    EXPECT_EQ(keys().first(), QStringLiteral("org.gnome.TextEditor"));
    EXPECT_EQ(keys().last(), QStringLiteral("youtube.com"));
}

TEST_F(ThiefWindowTest, DaysWithoutRowsSayWhyAndTheNextDayStopsAtToday)
{
    record("org.gnome.TextEditor", "2026-06-09T09:00:00", 60);
    open();
    EXPECT_FALSE(window->buttonNextDay()->isEnabled());
    EXPECT_FALSE(window->buttonToday()->isVisible());
    EXPECT_EQ(window->labelDay()->text(), Localization::text("THIEF_LABEL_DAY_TODAY"));
    EXPECT_EQ(emptyTagline(), Localization::text("THIEF_CELL_EMPTY_TAGLINE_THIEF"));

    window->buttonPreviousDay()->click();
    EXPECT_EQ(window->labelDay()->text(), Localization::text("THIEF_LABEL_DAY_YESTERDAY"));
    EXPECT_TRUE(window->buttonNextDay()->isEnabled());
    EXPECT_TRUE(window->buttonToday()->isVisible());
    window->buttonShowAll()->click();
    EXPECT_EQ(keys(), QStringList{QStringLiteral("org.gnome.TextEditor")});

    // Seven calendar days back is still kept; eight is not.
    window->showDay(Date(at("2026-06-03T00:30:00")));
    EXPECT_EQ(emptyTagline(), Localization::text("THIEF_CELL_EMPTY_TAGLINE_ACTIVITY"));
    window->showDay(Date(at("2026-06-02T23:30:00")));
    EXPECT_EQ(emptyTagline(), Localization::text("THIEF_CELL_EMPTY_TAGLINE"));
    EXPECT_EQ(window->table()->contextMenu(0), nullptr);
}

TEST_F(ThiefWindowTest, TheTimelineMovesAnHourAtATimeBetweenMidnightAndMidnight)
{
    record("youtube.com", "2026-06-10T10:00:00", 1800);
    open();
    ThiefHeaderViewController* header = window->header();
    const auto shortTime = [](int hour) { return ClockTime::text(QTime(hour, 0)); };
    EXPECT_EQ(header->hour(), 9);
    EXPECT_EQ(header->label(0)->text(), shortTime(9));

    auto* cell = qobject_cast<ThiefCell*>(window->table()->cell(0));
    ASSERT_NE(cell, nullptr);
    const qreal width = cell->viewInterruptions()->width();
    ASSERT_GT(width, 0);
    // 10:00-10:30 in 9:00-15:00 lies from a sixth to a quarter of the way.
    auto extents = cell->viewInterruptions()->extents();
    ASSERT_EQ(extents.size(), 1);
    EXPECT_NEAR(extents[0].first, width / 6, 0.5);
    EXPECT_NEAR(extents[0].second, width / 4, 0.5);

    QSignalSpy ranges(header, &ThiefHeaderViewController::rangeChanged);
    for (int i = 0; i < 9; ++i)
        header->buttonForward()->click();
    EXPECT_EQ(header->hour(), 18);
    EXPECT_FALSE(header->buttonForward()->isEnabled());
    EXPECT_EQ(ranges.size(), 9);
    EXPECT_EQ(ranges.last(), (QList<QVariant>{18, 24}));
    EXPECT_EQ(header->label(0)->text(), shortTime(18));
    EXPECT_EQ(header->label(1)->text(), shortTime(20));
    EXPECT_EQ(header->label(2)->text(), shortTime(22));
    EXPECT_EQ(header->label(3)->text(), shortTime(0));
    EXPECT_TRUE(cell->viewInterruptions()->extents().isEmpty());

    header->buttonBack()->click();
    EXPECT_TRUE(header->buttonForward()->isEnabled());
    for (int i = 0; i < 20; ++i)
        header->doBackButtonTap();
    EXPECT_EQ(header->hour(), 0);
    EXPECT_FALSE(header->buttonBack()->isEnabled());
}

TEST_F(ThiefWindowTest, RowActionsTouchOnlyTheirIdentifierAndDay)
{
    record("org.gnome.TextEditor", "2026-06-10T09:00:00", 60);
    record("org.gnome.TextEditor", "2026-06-09T09:00:00", 60);
    record("com.slack.Slack", "2026-06-10T10:00:00", 60);
    record("youtube.com", "2026-06-10T11:00:00", 60);
    open();
    window->setListingMode(ThiefListing::all);
    ASSERT_EQ(keys().indexOf(QStringLiteral("org.gnome.TextEditor")), 1);

    window->table()->deleteActivities(1);
    EXPECT_EQ(keys(),
              (QStringList{QStringLiteral("com.slack.Slack"), QStringLiteral("youtube.com")}));
    EXPECT_EQ(store->workActivities(Date(at("2026-06-09T12:00:00")))->size(), 1);

    // Slack, switched off, is switched on again rather than added twice.
    std::unique_ptr<QMenu> menu = window->table()->contextMenu(0);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().first()->text(), Localization::text("THIEF_CELL_ACTION_ADD"));
    EXPECT_TRUE(menu->actions().first()->isEnabled());
    menu->actions().first()->trigger();
    EXPECT_TRUE(store->thief(QStringLiteral("com.slack.Slack"))->isActive);
    EXPECT_EQ(store->thieves()->size(), 2);

    window->setListingMode(ThiefListing::thiefs);
    EXPECT_EQ(keys(),
              (QStringList{QStringLiteral("com.slack.Slack"), QStringLiteral("youtube.com")}));
    window->table()->removeFromList(1);
    EXPECT_FALSE(store->thief(QStringLiteral("youtube.com"))->isActive);
    EXPECT_EQ(keys(), QStringList{QStringLiteral("com.slack.Slack")});
}

TEST_F(ThiefWindowTest, TheWebsiteCreatorRefusesWhatIsNoHostAndStoresTheBareHost)
{
    open();
    ThiefCreatorWindowController* sheet = window->openWebsiteCreator();
    const auto attempt = [sheet](const QString& name, const QString& domain) {
        sheet->textName()->setText(name);
        sheet->textDomain()->setText(domain);
        sheet->buttonSave()->click();
        return sheet->success();
    };
    EXPECT_FALSE(attempt(QString(), QStringLiteral("example.com")));
    EXPECT_TRUE(sheet->labelError()->isVisibleTo(sheet));
    // The field takes 25 characters; a longer name set by other means is still refused.
    sheet->textName()->setMaxLength(100);
    EXPECT_FALSE(attempt(QString(26, QLatin1Char('x')), QStringLiteral("example.com")));
    EXPECT_FALSE(attempt(QStringLiteral("Video"), QString()));
    EXPECT_FALSE(attempt(QStringLiteral("Video"), QStringLiteral("not a host!")));
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(store->thieves()->size(), 2);

    QSignalSpy finished(sheet, &QDialog::finished);
    EXPECT_TRUE(
        attempt(QStringLiteral("Vimeo"), QStringLiteral("https://WWW.Vimeo.com/watch?v=1")));
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(finished.first().first().toInt(), 1);
    const std::optional<Thief> thief = store->thief(QStringLiteral("vimeo.com"));
    ASSERT_TRUE(thief);
    EXPECT_EQ(thief->kind, QStringLiteral("website"));
    EXPECT_TRUE(thief->isActive);
    EXPECT_FALSE(thief->preloaded);
    EXPECT_TRUE(thief->image && !thief->image->isEmpty());
}

TEST_F(ThiefWindowTest, TheApplicationCreatorOffersTheInstalledEntriesAndRefusesNamelessOnes)
{
    DesktopEntry editor;
    editor.id = QStringLiteral("org.gnome.TextEditor");
    editor.name = QStringLiteral("Text Editor");
    DesktopEntry nameless;
    nameless.id = QStringLiteral("org.example.Nameless");
    installed = {editor};
    open();
    ApplicationChooserWindowController* sheet = window->openApplicationCreator();
    ASSERT_EQ(sheet->listApplications()->count(), 1);
    EXPECT_EQ(sheet->listApplications()->item(0)->text(), QStringLiteral("Text Editor"));

    EXPECT_FALSE(sheet->choose(nameless));
    EXPECT_TRUE(sheet->labelError()->isVisibleTo(sheet));
    EXPECT_FALSE(store->thief(QStringLiteral("org.example.Nameless")));

    sheet->listApplications()->setCurrentRow(0);
    sheet->buttonChoose()->click();
    EXPECT_TRUE(sheet->success());
    const std::optional<Thief> thief = store->thief(QStringLiteral("org.gnome.TextEditor"));
    ASSERT_TRUE(thief);
    EXPECT_EQ(thief->name, QStringLiteral("Text Editor"));
    EXPECT_EQ(thief->kind, QStringLiteral("application"));
}

TEST_F(ThiefWindowTest, OnboardingCountsAsShownOnceOnScreenAndStoresTheAnswer)
{
    Settings& settings = Settings::shared();
    settings.setBool(Settings::ThievesOnboardingNotDone, true);
    int starts = 0;
    {
        ThiefOnboardingWindowController onboarding(
            settings, [&starts] { ++starts; }, false);
        EXPECT_TRUE(settings.boolValue(Settings::ThievesOnboardingNotDone));
        onboarding.show();
        EXPECT_FALSE(settings.boolValue(Settings::ThievesOnboardingNotDone));
        EXPECT_TRUE(onboarding.labelUnsupported()->isVisible());
        onboarding.buttonCancel()->click();
        EXPECT_FALSE(settings.boolValue(Settings::ThievesScanAllowByUser));
        EXPECT_EQ(starts, 0);
        EXPECT_FALSE(onboarding.isVisible());
    }
    ThiefOnboardingWindowController onboarding(
        settings, [&starts] { ++starts; }, true);
    onboarding.show();
    EXPECT_FALSE(onboarding.labelUnsupported()->isVisible());
    onboarding.buttonAgree()->click();
    EXPECT_TRUE(settings.boolValue(Settings::ThievesScanAllowByUser));
    EXPECT_EQ(starts, 1);
}

} // namespace

namespace {

// An application icon as a desktop entry would give it: a coloured tile with an initial.
QByteArray tile(const char* colour, const char* letter)
{
    return QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 48 48'>"
                          "<rect x='3' y='3' width='42' height='42' rx='10' fill='%1'/>"
                          "<text x='24' y='32' font-family='sans-serif' font-size='22' "
                          "font-weight='bold' fill='white' text-anchor='middle'>%2</text></svg>")
        .arg(QString::fromLatin1(colour), QString::fromLatin1(letter))
        .toUtf8();
}

// Pictures for a person to look at; only when asked for.
TEST_F(ThiefWindowTest, Screenshots)
{
    const QString folder = qEnvironmentVariable("ZESTRA_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ZESTRA_SHOTS to a folder to save pictures";
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(store->loadThieves());
    struct App {
        const char* id;
        const char* name;
        const char* kind;
        QByteArray image;
    };
    const App apps[] = {
        {"code", "Visual Studio Code", "application", tile("#1f88d6", "C")},
        {"org.gnome.Terminal", "Terminal", "application", tile("#3c3c3c", ">")},
        {"com.slack.Slack", "Slack", "application", tile("#4a154b", "S")},
        {"org.telegram.desktop", "Telegram", "application", tile("#2aa3df", "T")},
        {"org.mozilla.Thunderbird", "Thunderbird", "application", tile("#0a84ff", "M")},
        {"youtube.com", "youtube.com", "website", QByteArray()},
        {"reddit.com", "reddit.com", "website", QByteArray()},
        {"docs.python.org", "docs.python.org", "website", QByteArray()},
    };
    store->activateThief(QStringLiteral("com.slack.Slack"));
    // A working day from 8:50 to 16:00, in the order the attention went.
    const struct {
        int app;
        const char* start;
        int minutes;
    } day[] = {
        {4, "08:50", 12}, {0, "09:02", 48}, {2, "09:50", 6},  {0, "09:56", 30}, {5, "10:26", 14},
        {1, "10:40", 22}, {7, "11:02", 9},  {0, "11:11", 41}, {3, "11:52", 7},  {6, "11:59", 18},
        {0, "13:05", 35}, {2, "13:40", 11}, {0, "13:51", 52}, {5, "14:43", 9},  {1, "14:52", 20},
        {4, "15:12", 8},  {0, "15:20", 30}, {3, "15:50", 4},
    };
    for (const auto& stretch : day) {
        const App& app = apps[stretch.app];
        const double start = at(
            QStringLiteral("2026-06-10T%1:00").arg(QString::fromLatin1(stretch.start)).toLatin1());
        store->makeWorkActivity(
            QString::fromLatin1(app.name), Date(start), Date(start + stretch.minutes * 60),
            QString::fromLatin1(app.id), QString::fromLatin1(app.kind),
            app.image.isEmpty() ? std::nullopt : std::optional<QByteArray>(app.image));
    }
    open();
    window->resize(860, 520);
    window->header()->doBackButtonTap();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->grab().save(folder + QStringLiteral("/thieves-window.png")));
    window->setListingMode(ThiefListing::all);
    window->setSorting(ThiefSorting::time);
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->grab().save(folder + QStringLiteral("/thieves-window-all.png")));

    ThiefCreatorWindowController* website = window->openWebsiteCreator();
    website->textName()->setText(QStringLiteral("Hacker News"));
    website->textDomain()->setText(QStringLiteral("hacker news"));
    website->textName()->setMaxLength(25);
    website->buttonSave()->click();
    website->textDomain()->setText(QStringLiteral("https://news.ycombinator.com/"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(website->grab().save(folder + QStringLiteral("/thieves-add-website.png")));
    website->reject();

    for (const App& app : apps) {
        if (QByteArray(app.kind) != "application")
            continue;
        DesktopEntry entry;
        entry.id = QString::fromLatin1(app.id);
        entry.name = QString::fromLatin1(app.name);
        QFile icon(env.root() + QLatin1Char('/') + entry.id + QStringLiteral(".svg"));
        ASSERT_TRUE(icon.open(QIODevice::WriteOnly));
        icon.write(app.image);
        entry.icon = icon.fileName();
        installed.append(entry);
    }
    ApplicationChooserWindowController* chooser = window->openApplicationCreator();
    chooser->listApplications()->setCurrentRow(1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(chooser->grab().save(folder + QStringLiteral("/thieves-add-application.png")));
    chooser->reject();

    ThiefOnboardingWindowController onboarding(
        Settings::shared(), [] {}, true);
    onboarding.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(onboarding.grab().save(folder + QStringLiteral("/thieves-onboarding.png")));
}

} // namespace
