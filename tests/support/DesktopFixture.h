// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/TempXdg.h"

#include <QProcess>

#include <gtest/gtest.h>

// A private desktop per test.
class DesktopFixture : public ::testing::Test {
protected:
    QString entry(const QString& id, const QByteArray& body, const QString& dir = {}) const {
        return xdg.writeFile((dir.isEmpty() ? xdg.applicationsDir() : dir) + '/' + id,
                             "[Desktop Entry]\nType=Application\n" + body);
    }
    // A browser entry; `types` is its MimeType list.
    QString browser(const QString& id, const QString& name,
                    const QByteArray& types = "x-scheme-handler/http;x-scheme-handler/https;",
                    const QString& dir = {}) const {
        return entry(id,
                     "Name=" + name.toUtf8() + "\nExec=" + xdg.browserProgram().toUtf8() +
                         " %u\nMimeType=" + types + "\n",
                     dir);
    }
    // Runs another program in this desktop's environment and returns what it printed.
    static QString run(const QString& program, const QStringList& args) {
        QProcess process;
        process.start(program, args);
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }
    // What xdg-utils and GIO (each in a process of its own) say the default is.
    static QString xdgMimeDefault(const QString& type) { return run("xdg-mime", {"query", "default", type}); }
    static QString gioDefault(const QString& type) {
        const QString out = run("gio", {"mime", type});
        const QString first = out.section('\n', 0, 0);
        return first.startsWith("Default application") ? first.section(": ", 1).trimmed() : QString();
    }

    TempXdg xdg;
};
