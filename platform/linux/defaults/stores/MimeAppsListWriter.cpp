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

bool MimeAppsListWriter::readBack(const DefaultSwitch& change, QString* why) const {
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
