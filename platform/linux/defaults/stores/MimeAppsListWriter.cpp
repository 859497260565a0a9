// SPDX-License-Identifier: GPL-3.0-or-later
#include "MimeAppsListWriter.h"

#include "platform/Paths.h"
#include "platform/linux/xdg/MimeAppsLookup.h"

namespace platform::linux_ {

void preferInMimeAppsList(KeyFileLines& lines, const QStringList& types, const QString& id,
                          bool onlyExisting) {
    const QString defaults = QStringLiteral("Default Applications");
    const QString added = QStringLiteral("Added Associations");
    for (const QString& type : types) {
        for (const QString& group : {defaults, added})
            if (!onlyExisting || lines.value(group, type))
                lines.prependToList(group, type, id);
        lines.removeFromList(QStringLiteral("Removed Associations"), type, id);
    }
}

bool MimeAppsListWriter::plan(const DefaultSwitch& change, FilePlan& files) {
    return files.edit(platform::configHome() + QStringLiteral("/mimeapps.list"), false,
                      [&](QByteArray& content) {
                          KeyFileLines lines(content);
                          preferInMimeAppsList(lines, change.types, change.id, false);
                          content = lines.content();
                      });
}

bool glibLoads(const QString& path, QString* why) {
    const auto snapshot = readSnapshot(path, why);
    if (!snapshot)
        return false;
    const auto rejected = KeyFileLines::firstLineGLibRejects(snapshot->content);
    if (!rejected)
        return true;
    *why = QStringLiteral("GLib cannot read \u201c%1\u201d: line %2 (\u201c%3\u201d) is not a key, a group "
                          "or a comment, so gio and GTK applications ignore the whole file")
               .arg(path)
               .arg(rejected->number)
               .arg(QString::fromUtf8(rejected->text));
    return false;
}

bool MimeAppsListWriter::readBack(const DefaultSwitch& change, QString* why) const {
    // GLib drops a whole list over one line it cannot parse (a merge conflict's marker, say), and
    // its readers then keep the old default however right the rest of the file is.
    if (!glibLoads(platform::configHome() + QStringLiteral("/mimeapps.list"), why))
        return false;
    for (const QString& type : change.types) {
        const auto now = defaultApplication(type, change.isInstalled);
        if (now != change.id) {
            *why = QStringLiteral("%1 reads as %2").arg(type, now.value_or(QStringLiteral("nothing")));
            return false;
        }
    }
    return true;
}

} // namespace platform::linux_
