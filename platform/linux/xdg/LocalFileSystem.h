// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileSystem.h"

namespace platform::linux_ {

class LocalFileSystem : public FileSystem {
public:
    bool fileExists(const QString& path) override;
};

} // namespace platform::linux_
