#include "KdeGlobalsWriter.h"

#include "KeyFileLines.h"
#include "platform/Paths.h"

namespace platform::linux_ {
namespace {

const QString general = QStringLiteral("General");
const QString browserKey = QStringLiteral("BrowserApplication");

QString userFile() {
    return platform::configHome() + QStringLiteral("/kdeglobals");
}

std::optional<QString> browserIn(const QString& path) {
    const auto snapshot = readSnapshot(path);
    if (!snapshot || !snapshot->existed)
        return std::nullopt;
    return KeyFileLines(snapshot->content).value(general, browserKey);
}

} // namespace

bool KdeGlobalsWriter::plan(const DefaultSwitch& change, FilePlan& files) {
    used_ = false;
    if (!change.isWebBrowser)
        return true;
    bool set = browserIn(userFile()).has_value();
    for (const QString& dir : platform::configDirs())
        set = set || browserIn(dir + QStringLiteral("/kdeglobals")).has_value();
    if (!set)
        return true; // KDE follows the mimeapps lists
    used_ = true;
    return files.edit(userFile(), false, [&](QByteArray& content) {
        KeyFileLines lines(content);
        lines.setValue(general, browserKey, change.id);
        content = lines.content();
    });
}

bool KdeGlobalsWriter::readBack(const DefaultSwitch& change, QString* why) const {
    if (!used_)
        return true;
    const auto now = browserIn(userFile());
    if (now == change.id)
        return true;
    *why = QStringLiteral("kdeglobals names %1").arg(now.value_or(QStringLiteral("nothing")));
    return false;
}

} // namespace platform::linux_
