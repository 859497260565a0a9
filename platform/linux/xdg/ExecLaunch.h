// SPDX-License-Identifier: GPL-3.0-or-later
// Starting a desktop entry's command for some links without a shell: its Exec line split and its
// field codes expanded as the entry format says, so each link arrives as one argument, byte for byte.
#pragma once

#include "ExecCommandLine.h"

#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace platform::linux_ {

class DesktopEntry;

// The argument lists that run `command` (an Exec value, string escapes undone) for `urls`, as
// ExecCommandLine::runs() builds them; empty, with `error`, when it refuses (broken quoting, a link that
// begins with '-').
QList<QStringList> commandRuns(const QString& command, const QStringList& urls, const ExecEntryFacts& facts,
                               QString* error);
// The same without the entry's facts (%i, %c, %k expand to nothing) and without the reason.
QList<QStringList> commandRuns(const QString& command, const QStringList& urls);
// What %i, %c and %k expand to for `entry`, read from `path`.
ExecEntryFacts execEntryFacts(const DesktopEntry& entry, const QString& path);

// `environment` for a browser started for a link: variables a caller's own runtime leaks into
// every program it starts (Electron's, Chromium's wrapper's) dropped; the activation token kept.
QProcessEnvironment browserEnvironment(QProcessEnvironment environment);

// Starts each run beside this process, detached, its arguments as the bytes argumentBytes() gives;
// false with `error` on the first that cannot start.
bool startRuns(const QList<QStringList>& runs, const QProcessEnvironment& environment, QString* error);
// Starts every run but the last beside this process and execs the last in its place; returns only
// on failure, with `error` set.
bool execRuns(const QList<QStringList>& runs, QString* error);

} // namespace platform::linux_
