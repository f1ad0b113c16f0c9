#include "shell/LaunchOptions.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace {

// The options QGuiApplication and QApplication take for themselves; they pass through.
const char* const kQtValueOptions[] = {
    "platform",
    "platformpluginpath",
    "platformtheme",
    "plugin",
    "qwindowgeometry",
    "qwindowicon",
    "qwindowtitle",
    "display",
    "geometry",
    "style",
    "stylesheet",
    "session",
    "name",
    "title",
    "qmljsdebugger",
};
const char* const kQtFlagOptions[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

} // namespace

LaunchOptions LaunchOptions::parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    // Qt's own options are single-dash words ("-platform offscreen").
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("A pomodoro timer that lives in the tray. Started again, it shows the "
                       "running one's popover."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    for (const char* name : kQtValueOptions) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : kQtFlagOptions) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    LaunchOptions options;
    const QString program =
        arguments.isEmpty() ? QStringLiteral("zestra") : QFileInfo(arguments.first()).fileName();
    const auto refuse = [&options, &program](const QString& why) {
        options.m_action = Action::error;
        options.m_message = program + QStringLiteral(": ") + why + QStringLiteral("\nTry '") +
                            program + QStringLiteral(" --help' for more information.\n");
    };
    if (!parser.parse(arguments)) {
        refuse(parser.errorText());
    } else if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        // Without an application object Qt knows no program name for the usage line.
        QString text = parser.helpText();
        text = QStringLiteral("Usage: ") + program + QStringLiteral(" [options]") +
               text.mid(text.indexOf(u'\n'));
        options.m_action = Action::help;
        options.m_message = text;
    } else if (parser.isSet(version)) {
        options.m_action = Action::version;
        options.m_message = QStringLiteral("Zestra ") + QStringLiteral(ZESTRA_VERSION) + u'\n';
    } else if (!parser.positionalArguments().isEmpty()) {
        refuse(QStringLiteral("unexpected argument '") + parser.positionalArguments().constFirst() +
               u'\'');
    }
    return options;
}
