// SPDX-License-Identifier: GPL-3.0-or-later
#include "Adapters.h"
#include "CommandLineTranslation.h"
#include "app/cli/CommandLine.h"
#include "platform/Console.h"
#include "platform/linux/xdg/ArgumentBytes.h"

#include <QCoreApplication>

#include <cstring>

namespace {

bool hasArgument(int argc, char** argv, const char* wanted) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], wanted) == 0)
            return true;
    return false;
}

// Log lines are for the tray's journal; here every failure is told in a sentence of its own.
void dropLogLines(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg)
        std::fprintf(stderr, "tolvane: %s\n", qUtf8Printable(message));
}

} // namespace

// A command-line request of the `tolvane` command, served on Qt Core alone; the launcher loads
// this module only for requests.
extern "C" Q_DECL_EXPORT int tolvane_command_main(int argc, char** argv) {
    // A link on its way to a browser profile: no Qt application, no translation, just the browser.
    if (argc >= 3 && std::strcmp(argv[1], "--launch-profile") == 0) {
        QStringList urls;
        for (int i = 3; i < argc; ++i)
            urls << platform::linux_::argumentText(argv[i]);
        return Tolvane::adapters::launchProfile(QString::fromLocal8Bit(argv[2]), urls);
    }
    qInstallMessageHandler(dropLogLines);
    platform::printLinesToStandardError();
    // Qt's own event loop starts faster than GLib's, and a request runs none.
    qputenv("QT_NO_GLIB", "1");
    QCoreApplication app(argc, argv);
    qunsetenv("QT_NO_GLIB");
    QCoreApplication::setApplicationName(QStringLiteral("tolvane"));
    Tolvane::cli::installCommandLineTranslation();
    // Only the listing shows versions; finding a browser by any of its names needs none.
    Tolvane::adapters::installCommandLineAdapters(hasArgument(argc, argv, "--list"));
    // Every byte of a link reaches the browser as it came, also one that is not UTF-8.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << platform::linux_::argumentText(argv[i]);
    return Tolvane::cli::runCommand(arguments);
}
