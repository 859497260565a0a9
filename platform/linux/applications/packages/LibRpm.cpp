// SPDX-License-Identifier: GPL-3.0-or-later
#include "LibRpm.h"

#include "PackageConfig.h"

#include <QLoggingCategory>

#include <dlfcn.h>

namespace platform::linux_ {
namespace {

Q_LOGGING_CATEGORY(lcRpm, "app.tolvane.Tolvane.packages")

template <typename F> bool resolve(void* library, const char* name, F& function) {
    function = reinterpret_cast<F>(dlsym(library, name));
    return function != nullptr;
}

const LibRpm* load() {
    // Never unloaded: librpm keeps process-wide state of its own.
    void* library = dlopen(TOLVANE_LIBRPM_SONAME, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        qCInfo(lcRpm) << "no rpm versions:" << dlerror();
        return nullptr;
    }
    static LibRpm rpm;
    const bool all =
        resolve(library, "rpmlogSetMask", rpm.logSetMask) &&
        resolve(library, "rpmReadConfigFiles", rpm.readConfigFiles) &&
        resolve(library, "rpmPushMacro", rpm.pushMacro) && resolve(library, "rpmPopMacro", rpm.popMacro) &&
        resolve(library, "rpmtsCreate", rpm.tsCreate) &&
        resolve(library, "rpmtsSetRootDir", rpm.tsSetRootDir) &&
        resolve(library, "rpmtsOpenDB", rpm.tsOpenDB) &&
        resolve(library, "rpmtsInitIterator", rpm.tsInitIterator) &&
        resolve(library, "rpmdbNextIterator", rpm.dbNextIterator) &&
        resolve(library, "rpmdbFreeIterator", rpm.dbFreeIterator) &&
        resolve(library, "headerGetString", rpm.getString) && resolve(library, "rpmtsFree", rpm.tsFree);
    if (!all) {
        qCInfo(lcRpm) << "no rpm versions:" << TOLVANE_LIBRPM_SONAME << "lacks a function";
        return nullptr;
    }
    return &rpm;
}

} // namespace

const LibRpm* LibRpm::get() {
    static const LibRpm* const loaded = load();
    return loaded;
}

} // namespace platform::linux_
