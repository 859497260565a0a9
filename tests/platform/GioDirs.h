#pragma once

// GLib reads the XDG variables once per process; tests that move them between cases tell GIO
// through the hook GLib's own test setup uses (exported by libglib since 2.60).
#include <QByteArray>
#include <QList>
#include <QtGlobal>

extern "C" void g_set_user_dirs(const char* first_dir_type, ...);

inline void syncGioWithEnvironment() {
    const QByteArray home = qgetenv("HOME"), config = qgetenv("XDG_CONFIG_HOME"),
                     data = qgetenv("XDG_DATA_HOME"), cache = qgetenv("XDG_CACHE_HOME");
    QList<QByteArray> dataDirs = qgetenv("XDG_DATA_DIRS").split(':'),
                      configDirs = qgetenv("XDG_CONFIG_DIRS").split(':');
    QList<const char*> dataPtrs, configPtrs;
    for (const QByteArray& d : dataDirs)
        dataPtrs << d.constData();
    for (const QByteArray& d : configDirs)
        configPtrs << d.constData();
    dataPtrs << nullptr;
    configPtrs << nullptr;
    g_set_user_dirs("HOME", home.constData(), "XDG_CONFIG_HOME", config.constData(), "XDG_DATA_HOME",
                    data.constData(), "XDG_CACHE_HOME", cache.constData(), "XDG_DATA_DIRS",
                    dataPtrs.constData(), "XDG_CONFIG_DIRS", configPtrs.constData(),
                    static_cast<const char*>(nullptr));
}
