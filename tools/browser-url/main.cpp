// Prints the address of the page a web browser shows, for the activity scanner. It is called
// through a link named after the browser's desktop id (firefox, chromium, ...) and reads the
// session file the browser keeps in the user's profile: no remote-debugging port, no
// accessibility bus, nothing the browser has to be started with.
#include <cstdio>

#include <QFile>
#include <QFileInfo>

#include "BrowserTable.h"
#include "ChromiumSession.h"
#include "ChromiumSessionFiles.h"
#include "FirefoxProfiles.h"
#include "FirefoxSession.h"
#include "MozLz4.h"

namespace {

// Session files of ordinary use are kilobytes to a few megabytes.
constexpr qint64 largestFile = 64 << 20;

QByteArray readFile(const QString& path, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return {};
    }
    if (file.size() > largestFile) {
        error = QStringLiteral("%1 is too large (%2 bytes)").arg(path).arg(file.size());
        return {};
    }
    return file.readAll();
}

PageUrl firefoxPage(const QStringList& roots)
{
    QString error;
    const QString path = FirefoxProfiles(roots).recoveryFile(error);
    if (path.isEmpty())
        return PageUrl::failed(error);
    const QByteArray compressed = readFile(path, error);
    if (!error.isEmpty())
        return PageUrl::failed(error);
    const QByteArray json = MozLz4::decompress(compressed, error);
    if (!error.isEmpty())
        return PageUrl::failed(path + QStringLiteral(": ") + error);
    PageUrl page = FirefoxSession::selectedPage(json);
    if (!page.ok())
        page.error = path + QStringLiteral(": ") + page.error;
    return page;
}

PageUrl chromiumPage(const QStringList& roots)
{
    QString error;
    const QString path = ChromiumSessionFiles(roots).newest(error);
    if (path.isEmpty())
        return PageUrl::failed(error);
    const QByteArray bytes = readFile(path, error);
    if (!error.isEmpty())
        return PageUrl::failed(error);
    const QList<SnssFile::Command> commands = SnssFile::commands(bytes, error);
    if (!error.isEmpty())
        return PageUrl::failed(path + QStringLiteral(": ") + error);
    PageUrl page = ChromiumSession::activePage(commands);
    if (!page.ok())
        page.error = path + QStringLiteral(": ") + page.error;
    return page;
}

} // namespace

int main(int argc, char** argv)
{
    const QString name = argc > 0 ? QFileInfo(QFile::decodeName(argv[0])).fileName() : QString();
    const QString home = qEnvironmentVariable("HOME");
    const std::optional<BrowserTable::Browser> browser =
        BrowserTable(home, qEnvironmentVariable("XDG_CONFIG_HOME")).browser(name);
    if (!browser) {
        fprintf(stderr, "%s: called by an unknown name; link it as one of: %s\n", qPrintable(name),
                qPrintable(BrowserTable::desktopIds().join(QStringLiteral(" "))));
        return 2;
    }
    if (home.isEmpty()) {
        fprintf(stderr, "%s: HOME is not set\n", qPrintable(name));
        return 1;
    }
    const PageUrl page = browser->family == BrowserTable::Family::firefox
                             ? firefoxPage(browser->roots)
                             : chromiumPage(browser->roots);
    if (!page.ok()) {
        fprintf(stderr, "%s: %s\n", qPrintable(name), qPrintable(page.error));
        return 1;
    }
    printf("%s\n", page.url.toUtf8().constData());
    return 0;
}
