// SPDX-License-Identifier: GPL-3.0-or-later
#include "XfceHelpersWriter.h"

#include "platform/Paths.h"
#include "platform/linux/applications/BrowserForwarders.h"
#include "platform/linux/applications/XfceHelpers.h"
#include "platform/linux/xdg/KeyFileLines.h"
#include "platform/linux/xdg/MimeAppsLookup.h"

#include <QDir>
#include <QLoggingCategory>

namespace platform::linux_ {
namespace {

Q_LOGGING_CATEGORY(lcXfce, "app.tolvane.Tolvane.handlers")

const QString browserKey = QStringLiteral("WebBrowser");

QString helperName(const QString& id) {
    return id.endsWith(QLatin1String(".desktop")) ? id.chopped(8) : id;
}

// A helper XFCE can run for `name`: one that does not hand the link straight back.
bool helperUsable(const QString& name) {
    const auto path = xfceHelperPath(name);
    return path && !xfceHelperLoops(*path);
}

QString userHelpers() {
    return platform::dataHome() + QStringLiteral("/xfce4/helpers");
}

QString escapedValue(QString value) {
    return value.replace('\\', QLatin1String("\\\\")).replace('\n', QLatin1String("\\n"));
}

} // namespace

QString XfceHelpersWriter::helperCommand(const QString& exec, bool withParameter) {
    // XFCE puts the URL where "%s" stands and splits the result as a shell would; the entry's Exec
    // quotes the same way, so only its field codes change.
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (c == '\\' && quoted && i + 1 < exec.size()) {
            out += c;
            out += exec[++i];
            continue;
        }
        if (c == '"')
            quoted = !quoted;
        if (c != '%' || i + 1 == exec.size()) {
            out += c;
            continue;
        }
        const QChar code = exec[++i];
        if (code == '%')
            out += '%';
        else if (QStringLiteral("uUfF").contains(code) && withParameter)
            out += quoted ? QStringLiteral("%s") : QStringLiteral("\"%s\"");
        // Other codes (icon, name, file location) have no meaning for a helper.
    }
    return out.trimmed();
}

QByteArray XfceHelpersWriter::helperText(const QString& name, const QString& icon, const QString& execText) {
    QString helper = QStringLiteral("[Desktop Entry]\n"
                                    "Version=1.0\n"
                                    "Type=X-XFCE-Helper\n"
                                    "Name=%1\n")
                         .arg(escapedValue(name));
    if (!icon.isEmpty())
        helper += QStringLiteral("Icon=%1\n").arg(escapedValue(icon));
    helper +=
        QStringLiteral("X-XFCE-Category=WebBrowser\n"
                       "X-XFCE-Commands=%1\n"
                       "X-XFCE-CommandsWithParameter=%2\n")
            .arg(escapedValue(helperCommand(execText, false)), escapedValue(helperCommand(execText, true)));
    return helper.toUtf8();
}

bool XfceHelpersWriter::plan(const DefaultSwitch& change, FilePlan& files) {
    used_ = false;
    if (!change.isWebBrowser)
        return true;
    if (!currentDesktops().contains(QStringLiteral("xfce")) && !xfcePreferredWebBrowser())
        return true; // no XFCE here: its openers are not in use
    if (browserForwarding(change.execText) != BrowserForwarding::None) {
        // Its helper would run exo-open, which runs the helper again, for ever.
        qCWarning(lcXfce) << change.id << "hands links to the preferred browser; it cannot be one";
        return false;
    }
    used_ = true;
    const QString name = helperName(change.id);
    const bool wroteRc = files.edit(platform::configHome() + QStringLiteral("/xfce4/helpers.rc"), false,
                                    [&](QByteArray& content) {
                                        KeyFileLines lines(content);
                                        lines.setValue(QString(), browserKey, name);
                                        content = lines.content();
                                    });
    if (!wroteRc)
        return false;
    // A looping helper of the user's (as earlier versions wrote for such entries) stays a trap in
    // XFCE's own settings: it goes.
    const QString ours = userHelpers() + '/' + name + QStringLiteral(".desktop");
    for (const QString& file : QDir(userHelpers()).entryList({QStringLiteral("*.desktop")}, QDir::Files)) {
        const QString path = userHelpers() + '/' + file;
        if (path != ours && xfceHelperLoops(path) && !files.remove(path))
            return false;
    }
    if (helperUsable(name))
        return true;
    // Over a looping one of that name, or a new one before the system's looping one.
    const QByteArray helper = helperText(change.name, change.icon, change.execText);
    return files.edit(ours, false, [&](QByteArray& content) { content = helper; });
}

bool XfceHelpersWriter::readBack(const DefaultSwitch& change, QString* why) const {
    if (!used_)
        return true;
    const QString name = helperName(change.id);
    const auto now = xfcePreferredWebBrowser();
    if (now == name && helperUsable(name))
        return true;
    *why = QStringLiteral("helpers.rc names %1").arg(now.value_or(QStringLiteral("nothing")));
    return false;
}

} // namespace platform::linux_
