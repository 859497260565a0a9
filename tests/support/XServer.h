// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

// A private Xvfb for the life of the object, on a display number it finds free (so it coexists
// with servers already running). Peers such as xdotool run against it via run().
class XServer {
public:
    XServer();
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool isRunning() const;
    // ":N", or empty when no server could be started (see error()).
    QString display() const { return display_; }
    QString error() const { return error_; }

    // Runs a program against this server and waits; returns its exit code (-1 when it did not run).
    int run(const QString& program, const QStringList& arguments, int timeoutMs = 20000,
            QByteArray* output = nullptr) const;

    // Makes this server the one Qt and X clients of this process use (DISPLAY, Qt's xcb platform).
    void exportToEnvironment() const;

private:
    std::unique_ptr<QProcess> process_;
    QString display_;
    QString error_;
};
