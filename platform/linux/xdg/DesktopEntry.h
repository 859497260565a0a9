// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace platform::linux_ {

// The [Desktop Entry] group of one .desktop file, read without trusting its content:
// invalid UTF-8 is replaced, control characters are blanked, nothing is ever run.
class DesktopEntry {
public:
    // Files larger than this are not desktop entries anyone installs on purpose.
    static constexpr qint64 maxFileSize = 1024 * 1024;
    // Longer names are cut so a hostile entry cannot blow up a menu.
    static constexpr int maxNameLength = 256;

    // Parses `content`; none when it has no [Desktop Entry] group.
    static std::optional<DesktopEntry> parse(const QByteArray& content);
    // Reads and parses the file at `path`; none when unreadable, too large or not an entry.
    static std::optional<DesktopEntry> read(const QString& path);

    // Raw (unescaped) value of `key`, without locale suffix.
    std::optional<QString> value(const QString& key) const;
    // `key` for the message locale: lang_COUNTRY@MODIFIER, lang_COUNTRY, lang@MODIFIER, lang, else the
    // plain key.
    std::optional<QString> localizedValue(const QString& key) const;
    bool boolValue(const QString& key) const;
    QStringList listValue(const QString& key) const;

    // Display name: localised Name, cleaned and length-limited; none when absent.
    std::optional<QString> name() const;
    QStringList mimeTypes() const { return listValue(QStringLiteral("MimeType")); }
    bool declares(const QString& mimeType) const;
    bool isApplication() const { return value(QStringLiteral("Type")) == QStringLiteral("Application"); }
    bool isHidden() const { return boolValue(QStringLiteral("Hidden")); }
    // True when TryExec names a program that is not installed (checked, never run).
    bool tryExecMissing() const;
    // Whether something can be launched at all (Exec, or D-Bus activation).
    bool isLaunchable() const;
    // Whether a desktop whose XDG_CURRENT_DESKTOP names are `desktops` lists it in its menus:
    // not NoDisplay, and OnlyShowIn/NotShowIn decided by the first current name they mention.
    bool shownIn(const QStringList& desktops) const;
    // The names in XDG_CURRENT_DESKTOP, in order.
    static QStringList currentDesktops();
    // The locale whose texts an entry shows: the message locale of the environment, as the entry
    // format asks, unless the program chose a language of its own. Only the former can carry a @MODIFIER.
    static QString messageLocale();

private:
    QHash<QString, QString> values_;          // "Key" → value
    QHash<QByteArray, QByteArray> localized_; // "Key[locale]" → value as written (UTF-8): most are
                                              // other languages', never looked at, so never decoded
};

// One installed application: its desktop-file ID (with ".desktop"), file and parsed entry.
struct InstalledEntry {
    QString id;
    QString path;
    std::shared_ptr<const DesktopEntry> entry;
};

// Unescapes a desktop-entry string value (\s \n \t \r \\).
QString unescapeDesktopValue(const QString& raw);
// The reverse: a string value as a key's line holds it.
QString escapeDesktopValue(QString value);

} // namespace platform::linux_
