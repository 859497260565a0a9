// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

// A private HOME with its own XDG folders for the life of the object; the environment comes back after.
class TempXdg {
public:
    TempXdg();
    ~TempXdg();
    TempXdg(const TempXdg&) = delete;
    TempXdg& operator=(const TempXdg&) = delete;

    QString home() const { return dir_.path(); }
    QString configHome() const { return home() + "/.config"; }
    QString dataHome() const { return home() + "/.local/share"; }
    // A system data folder (listed in XDG_DATA_DIRS) of this fixture.
    QString systemData() const { return home() + "/usr/share"; }
    QString applicationsDir() const { return dataHome() + "/applications"; }
    // A harmless program no package owns, for the Exec line of test browsers (a packaged one,
    // such as /bin/true, would give them that package's version).
    QString browserProgram() const { return home() + "/bin/web-browser"; }

    // Writes a file (creating folders) and returns its path.
    QString writeFile(const QString& path, const QByteArray& content) const;
    QByteArray readFile(const QString& path) const;

    // A browser entry declaring x-scheme-handler/http(s) under the user's applications folder.
    QString writeBrowserEntry(const QString& id, const QString& name, const QByteArray& extra = {}) const;

private:
    void setEnv(const char* name, const QByteArray& value);
    QTemporaryDir dir_;
    QMap<QByteArray, std::optional<QByteArray>> saved_;
};
