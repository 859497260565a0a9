// SPDX-License-Identifier: GPL-3.0-or-later
// Which browser opens the links no rule names, and whether the user turned routing on: the record
// the router reads at every click, so a damaged one must never cost a link.
#pragma once

#include <QByteArray>
#include <QString>

namespace Tolvane::links {

struct ChosenBrowserRecord {
    bool route = false;
    QString chosen; // a desktop-file ID; empty when none is known
    // Why the file on disk could not be read, when it could not; the record is then empty.
    QString damage;

    // <config home>/tolvane/links.state
    static QString path();
    // Never waits on a pipe in the file's place and never fails: a damaged file is an empty record
    // with `damage` set; a missing one is an empty record.
    static ChosenBrowserRecord read(const QString& at = path());
    static ChosenBrowserRecord parse(const QByteArray& content);
    QByteArray content() const;
};

} // namespace Tolvane::links
