#include "platform/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

namespace hostlore {

ProgramOptions AnswerInformationRequests(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("hostlore"));
    QCoreApplication::setApplicationVersion(QStringLiteral(HOSTLORE_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Gathers what can be learnt about the web site behind an address: its\n"
                       "host addresses, server, whois record, neighbouring hosts, and the local\n"
                       "network. The manual opens from Help, Help Topic (F1)."));
    // Qt's own help option would offer --help-all, whose Qt options need a display.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help."));
    parser.addOption(help);
    parser.addVersionOption();
    const QCommandLineOption verbose(
        QStringLiteral("verbose"),
        QStringLiteral("Prints the browser engine's start-up report and the messages "
                       "the pages of the browser panes write to their console."));
    parser.addOption(verbose);

    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    // Unknown options are Qt's own (-style, -platform, ...), read later by QApplication.
    parser.parse(arguments);
    if (!parser.isSet(help) && !parser.isSet(QStringLiteral("version"))) {
        return {.verbose = parser.isSet(verbose)};
    }
    // The texts name the program from the application object; this one opens no display.
    const QCoreApplication application(argc, argv);
    if (parser.isSet(help)) {
        parser.showHelp(0);
    }
    parser.showVersion();
}

}  // namespace hostlore
