// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <rpm/header.h>
#include <rpm/rpmdb.h>
#include <rpm/rpmlib.h>
#include <rpm/rpmlog.h>
#include <rpm/rpmmacro.h>
#include <rpm/rpmts.h>

namespace platform::linux_ {

// The few librpm calls the rpm database reader makes, loaded the first time a database is read:
// most systems have none, and librpm with its libraries would cost every start of the command
// line more than the rest of its work.
struct LibRpm {
    decltype(&rpmlogSetMask) logSetMask;
    decltype(&rpmReadConfigFiles) readConfigFiles;
    decltype(&rpmPushMacro) pushMacro;
    decltype(&rpmPopMacro) popMacro;
    decltype(&rpmtsCreate) tsCreate;
    decltype(&rpmtsSetRootDir) tsSetRootDir;
    decltype(&rpmtsOpenDB) tsOpenDB;
    decltype(&rpmtsInitIterator) tsInitIterator;
    decltype(&rpmdbNextIterator) dbNextIterator;
    decltype(&rpmdbFreeIterator) dbFreeIterator;
    decltype(&::headerGetString) getString;
    decltype(&rpmtsFree) tsFree;

    // The loaded library; null when it cannot be loaded (rpm packages then show no version).
    static const LibRpm* get();
};

} // namespace platform::linux_
