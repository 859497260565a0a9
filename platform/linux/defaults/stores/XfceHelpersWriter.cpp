#include "XfceHelpersWriter.h"

#include "platform/Paths.h"
#include "platform/linux/xdg/KeyFileLines.h"
#include "platform/linux/xdg/MimeAppsLookup.h"

#include <QFileInfo>

namespace platform::linux_ {
namespace {

const QString browserKey = QStringLiteral("WebBrowser");

QString helperName(const QString& id) {
    return id.endsWith(QLatin1String(".desktop")) ? id.chopped(8) : id;
}

// The value of WebBrowser as XFCE reads it: the first helpers.rc that sets it, the user's first.
std::optional<QString> preferredBrowser() {
    QStringList folders{platform::configHome()};
    folders << platform::configDirs();
    for (const QString& folder : folders) {
        const auto snapshot = readSnapshot(folder + QStringLiteral("/xfce4/helpers.rc"));
        if (!snapshot || !snapshot->existed)
            continue;
        if (auto value = KeyFileLines(snapshot->content).value(QString(), browserKey))
            return value;
    }
    return std::nullopt;
}

bool helperInstalled(const QString& name) {
    QStringList folders{platform::dataHome()};
    folders << platform::dataDirs();
    for (const QString& folder : folders)
        if (QFileInfo(folder + QStringLiteral("/xfce4/helpers/") + name + QStringLiteral(".desktop"))
                .isFile())
            return true;
    return false;
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

bool XfceHelpersWriter::plan(const DefaultSwitch& change, FilePlan& files) {
    used_ = false;
    if (!change.isWebBrowser)
        return true;
    if (!currentDesktops().contains(QStringLiteral("xfce")) && !preferredBrowser())
        return true; // no XFCE here: its openers are not in use
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
    if (helperInstalled(name))
        return true;
    const QString helper =
        QStringLiteral("[Desktop Entry]\n"
                       "Version=1.0\n"
                       "Type=X-XFCE-Helper\n"
                       "Name=%1\n"
                       "X-XFCE-Category=WebBrowser\n"
                       "X-XFCE-Commands=%2\n"
                       "X-XFCE-CommandsWithParameter=%3\n")
            .arg(escapedValue(change.name), escapedValue(helperCommand(change.execText, false)),
                 escapedValue(helperCommand(change.execText, true)));
    return files.create(platform::dataHome() + QStringLiteral("/xfce4/helpers/") + name +
                            QStringLiteral(".desktop"),
                        helper.toUtf8());
}

bool XfceHelpersWriter::readBack(const DefaultSwitch& change, QString* why) const {
    if (!used_)
        return true;
    const QString name = helperName(change.id);
    const auto now = preferredBrowser();
    if (now == name && helperInstalled(name))
        return true;
    *why = QStringLiteral("helpers.rc names %1").arg(now.value_or(QStringLiteral("nothing")));
    return false;
}

} // namespace platform::linux_
