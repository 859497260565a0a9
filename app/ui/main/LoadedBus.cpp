// SPDX-License-Identifier: GPL-3.0-or-later
#include "LoadedBus.h"

#include <QByteArray>
#include <QLoggingCategory>

#include <dlfcn.h>

namespace Tolvane::adapters {
namespace {

Q_LOGGING_CATEGORY(lcBus, "app.tolvane.Tolvane.bus")

// The bus module lives beside the command module, in a build and once installed.
void* busModule() {
    static void* const handle = []() -> void* {
        Dl_info self{};
        if (!::dladdr(reinterpret_cast<void*>(&busModule), &self) || !self.dli_fname)
            return nullptr;
        QByteArray path(self.dli_fname);
        path.truncate(path.lastIndexOf('/') + 1);
        path += TOLVANE_BUS_MODULE;
        void* loaded = ::dlopen(path.constData(), RTLD_LAZY | RTLD_LOCAL);
        if (!loaded)
            qCWarning(lcBus, "cannot load %s: %s", path.constData(), ::dlerror());
        return loaded;
    }();
    return handle;
}

template <class Function> Function entry(const char* name) {
    void* module = busModule();
    return module ? reinterpret_cast<Function>(::dlsym(module, name)) : nullptr;
}

} // namespace

bool LoadedBusNotifications::notify(const QString& summary, const QString& body) {
    const auto send = entry<bool (*)(const QString&, const QString&)>("tolvane_bus_notify");
    return send && send(summary, body);
}

bool LoadedBusAsking::ask(const QStringList& links, const QString& activationToken) {
    const auto send = entry<bool (*)(const QStringList&, const QString&)>("tolvane_bus_ask");
    return send && send(links, activationToken);
}

} // namespace Tolvane::adapters
