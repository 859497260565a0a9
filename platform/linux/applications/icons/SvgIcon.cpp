// SPDX-License-Identifier: GPL-3.0-or-later
// GLib before Qt: Qt defines "signals", a name GLib's headers use.
#include <gdk-pixbuf/gdk-pixbuf.h>

#include "SvgIcon.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QIcon>
#include <QMutex>
#include <QSettings>

#include <algorithm>

namespace platform::linux_::SvgIcon {
namespace {

// What one theme holds for a name: the files found, raster and SVG.
struct Found {
    bool raster = false;
    QString svg;
};

void look(const QString& folder, const QString& iconName, Found& found) {
    for (const char* suffix : {".png", ".xpm"})
        if (QFileInfo::exists(folder + '/' + iconName + QLatin1String(suffix)))
            found.raster = true;
    if (found.svg.isEmpty() && QFileInfo::exists(folder + '/' + iconName + QLatin1String(".svg")))
        found.svg = folder + '/' + iconName + QLatin1String(".svg");
}

// What a theme's index.theme says: its icon folders and the themes it inherits.
struct ThemeIndex {
    QStringList dirs;
    QStringList inherits;
};

// Read once per theme: big themes list hundreds of folders.
ThemeIndex themeIndex(const QString& theme) {
    static QMutex mutex;
    static QHash<QString, ThemeIndex> read;
    const QStringList bases = QIcon::themeSearchPaths();
    const QString key = bases.join('\n') + '\n' + theme;
    QMutexLocker lock(&mutex);
    if (const auto found = read.constFind(key); found != read.cend())
        return *found;
    ThemeIndex index;
    for (const QString& base : bases) {
        const QString file = base + '/' + theme + QLatin1String("/index.theme");
        if (!QFileInfo::exists(file))
            continue;
        QSettings settings(file, QSettings::IniFormat);
        settings.beginGroup(QStringLiteral("Icon Theme"));
        index.inherits = settings.value(QStringLiteral("Inherits")).toStringList();
        index.dirs = settings.value(QStringLiteral("Directories")).toStringList() +
                     settings.value(QStringLiteral("ScaledDirectories")).toStringList();
        break;
    }
    read.insert(key, index);
    return index;
}

// The theme's folders in every base folder that has the theme (programs install their icons into
// a theme's folders without its index), and the themes it inherits.
Found lookInTheme(const QString& theme, const QString& iconName, QStringList& inherits) {
    Found found;
    const ThemeIndex index = themeIndex(theme);
    inherits = index.inherits;
    for (const QString& base : QIcon::themeSearchPaths()) {
        const QString root = base + '/' + theme;
        if (!QFileInfo(root).isDir())
            continue;
        for (const QString& dir : index.dirs)
            look(root + '/' + dir, iconName, found);
    }
    return found;
}

} // namespace

QString themeFile(const QString& iconName) {
    if (iconName.isEmpty() || iconName.contains('/'))
        return {};
    QStringList themes{QIcon::themeName()};
    if (!QIcon::fallbackThemeName().isEmpty())
        themes << QIcon::fallbackThemeName();
    // The first theme in line that has the icon decides, as in the theme lookup itself.
    for (qsizetype i = 0; i < themes.size(); ++i) {
        if (!themes[i].isEmpty()) {
            QStringList inherits;
            const Found found = lookInTheme(themes[i], iconName, inherits);
            if (found.raster)
                return {};
            if (!found.svg.isEmpty())
                return found.svg;
            for (const QString& parent : inherits)
                if (!themes.contains(parent))
                    themes.insert(i + 1, parent);
        }
        if (i == themes.size() - 1 && !themes.contains(QLatin1String("hicolor")))
            themes << QStringLiteral("hicolor");
    }
    Found found;
    for (const QString& folder : QIcon::fallbackSearchPaths())
        look(folder, iconName, found);
    return found.raster ? QString() : found.svg;
}

QImage render(const QString& file, const QSize& size) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    const QByteArray svg = in.readAll();
    // Named, not sniffed: sniffing needs the MIME database, which a session may not point to.
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type("svg", nullptr);
    if (!loader)
        return {};
    g_signal_connect(
        loader, "size-prepared",
        G_CALLBACK(+[](GdkPixbufLoader* self, int width, int height, gpointer asked) {
            const QSize fitted =
                QSize(width, height).scaled(*static_cast<const QSize*>(asked), Qt::KeepAspectRatio);
            gdk_pixbuf_loader_set_size(self, std::max(1, fitted.width()), std::max(1, fitted.height()));
        }),
        const_cast<QSize*>(&size));
    QImage image;
    const bool written = gdk_pixbuf_loader_write(loader, reinterpret_cast<const guchar*>(svg.constData()),
                                                 gsize(svg.size()), nullptr);
    if (gdk_pixbuf_loader_close(loader, nullptr) && written) {
        if (GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader))
            image = QImage(gdk_pixbuf_read_pixels(pixbuf), gdk_pixbuf_get_width(pixbuf),
                           gdk_pixbuf_get_height(pixbuf), gdk_pixbuf_get_rowstride(pixbuf),
                           gdk_pixbuf_get_has_alpha(pixbuf) ? QImage::Format_RGBA8888 : QImage::Format_RGB888)
                        .copy();
    }
    g_object_unref(loader);
    return image;
}

} // namespace platform::linux_::SvgIcon
