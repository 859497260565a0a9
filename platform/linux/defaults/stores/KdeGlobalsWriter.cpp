// SPDX-License-Identifier: GPL-3.0-or-later
#include "KdeGlobalsWriter.h"

#include "platform/Paths.h"
#include "platform/linux/xdg/DesktopEntry.h"
#include "platform/linux/xdg/KeyFileLines.h"

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

// What one kdeglobals says of the key: its value, and whether the file locks it ("[$i]" after the
// key, after its group or at the top of the file), so that no file read after it may change it.
struct Setting {
    std::optional<QString> value;
    bool locked = false;
};

Setting settingIn(const QString& path) {
    Setting found;
    const auto snapshot = readSnapshot(path);
    if (!snapshot || !snapshot->existed)
        return found;
    bool inGroup = false, groupLocked = false, fileLocked = false, beforeGroups = true;
    for (const QByteArray& raw : snapshot->content.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[')) {
            if (beforeGroups && line == "[$i]") {
                fileLocked = true;
                continue;
            }
            beforeGroups = false;
            inGroup = line == "[" + general.toUtf8() + "]" || line.startsWith("[" + general.toUtf8() + "][$");
            groupLocked = inGroup && line.contains("[$i]");
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (!inGroup || eq <= 0)
            continue;
        const QByteArray key = line.left(eq).trimmed();
        if (key != browserKey.toUtf8() && !key.startsWith(browserKey.toUtf8() + "[$"))
            continue;
        found.value = QString::fromUtf8(line.mid(eq + 1).trimmed());
        found.locked =
            fileLocked || groupLocked || (key.contains("[$") && key.mid(key.indexOf("[$")).contains('i'));
    }
    return found;
}

// The value KDE's settings read: the system files from the least important folder up, then the
// user's, a later one overriding an earlier one unless that locked it.
std::optional<QString> effectiveBrowser() {
    QStringList files;
    const QStringList dirs = platform::configDirs();
    for (auto it = dirs.rbegin(); it != dirs.rend(); ++it)
        files << *it + QStringLiteral("/kdeglobals");
    files << userFile();
    std::optional<QString> value;
    for (const QString& file : files) {
        const Setting setting = settingIn(file);
        if (setting.value)
            value = setting.value;
        if (setting.locked)
            break;
    }
    return value;
}

} // namespace

bool KdeGlobalsWriter::plan(const DefaultSwitch& change, FilePlan& files) {
    used_ = false;
    if (!change.isWebBrowser)
        return true;
    bool set = browserIn(userFile()).has_value();
    for (const QString& dir : platform::configDirs())
        set = set || browserIn(dir + QStringLiteral("/kdeglobals")).has_value();
    // Unset, KDE's "default browser" is the handler of web pages: one that takes only links (as
    // Tolvane's own link handler) must be named, or KDE's tools would pass it by.
    const bool takesPages = change.types.contains(QStringLiteral("text/html"));
    if (!set && (takesPages || !DesktopEntry::currentDesktops().contains(QStringLiteral("KDE"))))
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
    const auto now = effectiveBrowser();
    if (now == change.id)
        return true;
    *why = QStringLiteral("kdeglobals names %1").arg(now.value_or(QStringLiteral("nothing")));
    return false;
}

} // namespace platform::linux_
