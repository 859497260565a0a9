// SPDX-License-Identifier: GPL-3.0-or-later
// Usage: MimeAppsSwitcher <id> <id> <count>; alternates between the two identifiers.
// Exits with the number of switches that did not report success.
#include "platform/linux/defaults/MimeAppsHandlerService.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return 255;
    platform::linux_::MimeAppsHandlerService service;
    const int count = args[3].toInt();
    int failures = 0;
    for (int i = 0; i < count; ++i)
        if (service.setDefaultHandlerForURLScheme(QStringLiteral("http"), args[1 + i % 2]) != 0)
            ++failures;
    return failures;
}
