// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserEntity.h"

#include "SettingsStore.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSemaphore>
#include <QThread>

#include <atomic>
#include <memory>

namespace Tolvane {
namespace {

constexpr int iconSide = 128;

// Only ever runs on the GUI thread: pixmaps belong there.
QByteArray renderPng(const QIcon& icon) {
    if (icon.isNull())
        return {};
    const QImage image = icon.pixmap(QSize(iconSide, iconSide)).toImage();
    if (image.isNull())
        return {};
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return {};
    return png;
}

// closingDown() turns true only once the application object is destroyed, long after main()
// may be waiting for the workers: the quit request itself must release them.
std::atomic<bool> quitting{false};

bool guiAvailable() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) && !quitting &&
           !QCoreApplication::closingDown();
}

} // namespace

QByteArray iconPng(const QIcon& icon) {
    if (icon.isNull() || !guiAvailable())
        return {};
    QCoreApplication* app = QCoreApplication::instance();
    if (QThread::currentThread() == app->thread())
        return renderPng(icon);

    // Hand the drawing to the GUI thread and wait for it, but never past the application's end:
    // a worker blocked on a GUI thread that no longer runs its loop would hang the exit.
    struct Job {
        QSemaphore done;
        QByteArray png;
    };
    auto job = std::make_shared<Job>();
    QMetaObject::invokeMethod(
        app,
        [job, icon] {
            job->png = renderPng(icon);
            job->done.release();
        },
        Qt::QueuedConnection);
    while (!job->done.tryAcquire(1, 50))
        if (!guiAvailable())
            return {};
    return job->png;
}

void stopDrawingIconsAtQuit() {
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, [] { quitting = true; });
}

BrowserEntity BrowserEntity::from(const DefaultBrowser& browser) {
    BrowserEntity entity;
    entity.id = browser.id();
    entity.displayName =
        SettingsStore::boolForKey(SettingsStore::showBrowserVersion) && !browser.appVersion.isEmpty()
            ? browser.appName + " (" + browser.appVersion + ")"
            : browser.appName;
    entity.displaySubtitle = "The " + browser.appName + " browser";
    entity.image = iconPng(browser.appIcon);
    return entity;
}

} // namespace Tolvane
