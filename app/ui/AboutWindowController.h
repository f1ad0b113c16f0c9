#pragma once

#include <functional>

#include <QUrl>
#include <QWidget>

class QLabel;
class QPushButton;

// The About window: the application's name, version and credits, and buttons to its pages.
class AboutWindowController : public QWidget {
    Q_OBJECT
public:
    // Opens a page in the user's browser; tests put a recorder in its place.
    using UrlOpener = std::function<bool(const QUrl&)>;

    static QUrl websiteUrl();
    static QUrl supportUrl();
    // The running application's version, or the one this build was made as.
    static QString versionText();

    explicit AboutWindowController(UrlOpener openUrl = {}, QWidget* parent = nullptr);

    void doOpenWebsite();
    void doOpenSupport();

    QLabel* labelLogo = nullptr;
    QLabel* labelName = nullptr;
    QLabel* labelVersion = nullptr;
    QLabel* labelDescription = nullptr;
    QLabel* labelCredits = nullptr;
    QPushButton* buttonWebsite = nullptr;
    QPushButton* buttonSupport = nullptr;

private:
    UrlOpener m_openUrl;
};
