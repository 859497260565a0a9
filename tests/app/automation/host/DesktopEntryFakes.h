// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Stand-ins for the desktop-entry adapters, driven by real .desktop files under
// $XDG_DATA_HOME/applications, so the automation host lists what the test wrote there.
#include "platform/BundleReader.h"
#include "platform/HandlerService.h"
#include "platform/Paths.h"
#include "platform/Workspace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QIconEngine>
#include <QMutex>
#include <QPainter>
#include <QThread>

namespace host {

// The [Desktop Entry] keys of one file; empty when it is not a readable desktop entry.
inline QHash<QString, QString> desktopEntry(const QString& path) {
    QHash<QString, QString> keys;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return keys;
    bool inEntry = false;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith('['))
            inEntry = line == "[Desktop Entry]";
        else if (inEntry && line.contains('='))
            keys.insert(line.section('=', 0, 0).trimmed(), line.section('=', 1).trimmed());
    }
    return keys;
}

// Reads its file only when drawn, which happens on the GUI thread; lists are made on workers.
class FileIconEngine : public QIconEngine {
public:
    explicit FileIconEngine(QString path) : path_(std::move(path)) {}
    QPixmap pixmap(const QSize&, QIcon::Mode, QIcon::State) override { return QPixmap(path_); }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        painter->drawPixmap(rect, QPixmap(path_));
    }
    QIconEngine* clone() const override { return new FileIconEngine(path_); }

private:
    QString path_;
};

inline QString applicationsDir() {
    return platform::dataHome() + "/applications";
}

// Entries declaring https, by file name.
class DesktopFileWorkspace : public platform::Workspace {
public:
    QList<QUrl> urlsForApplicationsToOpenURL(const QUrl&) override {
        QList<QUrl> urls;
        const QDir dir(applicationsDir());
        for (const QString& name : dir.entryList({"*.desktop"}, QDir::Files, QDir::Name)) {
            const QString path = dir.filePath(name);
            if (desktopEntry(path).value("MimeType").split(';').contains("x-scheme-handler/https"))
                urls << QUrl::fromLocalFile(path);
        }
        return urls;
    }
    platform::AppIcon iconForFile(const QString& path) override {
        const QString icon = desktopEntry(path).value("Icon");
        return QFileInfo(icon).isAbsolute() ? QIcon(new FileIconEngine(icon)) : QIcon();
    }
    bool openURL(const QUrl&) override { return false; }
};

// Identifier = desktop-file ID without ".desktop"; Name and X-AppImage-Version as the info keys.
class DesktopFileBundleReader : public platform::BundleReader {
public:
    std::optional<platform::Bundle> bundleAt(const QUrl& url) override {
        const QString path = url.toLocalFile();
        const auto keys = desktopEntry(path);
        if (!path.endsWith(".desktop") || keys.isEmpty())
            return std::nullopt;
        platform::Bundle bundle;
        bundle.bundleIdentifier = QFileInfo(path).completeBaseName();
        if (keys.contains("Name"))
            bundle.info.insert("CFBundleName", keys.value("Name"));
        if (keys.contains("X-AppImage-Version"))
            bundle.info.insert("CFBundleShortVersionString", keys.value("X-AppImage-Version"));
        return bundle;
    }
};

// Records each request as "<scheme> <bundle id> main|worker" in the file $TOLVANE_TEST_HANDLER_LOG.
// Refuses an identifier without an entry, and fails to write when mimeapps.list cannot be a file.
class RecordingHandlerService : public platform::HandlerService {
public:
    int setDefaultHandlerForURLScheme(const QString& scheme, const QString& bundleId) override {
        QMutexLocker lock(&mutex_);
        const bool onMain = QThread::currentThread() == QCoreApplication::instance()->thread();
        QFile log(qEnvironmentVariable("TOLVANE_TEST_HANDLER_LOG"));
        if (log.open(QIODevice::Append)) {
            log.write(
                QStringLiteral("%1 %2 %3\n").arg(scheme, bundleId, onMain ? "main" : "worker").toUtf8());
        }
        bool found = false;
        for (const QString& name : QDir(applicationsDir()).entryList({"*.desktop"}, QDir::Files))
            found = found || QFileInfo(name).completeBaseName().toLower() == bundleId;
        if (!found)
            return applicationNotFound;
        if (QFileInfo(platform::configHome() + "/mimeapps.list").isDir())
            return writeFailed;
        return noErr;
    }
    std::optional<QString> defaultHandlerForURLScheme(const QString&) override { return std::nullopt; }

private:
    QMutex mutex_;
};

} // namespace host
