// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace platform {

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual bool fileExists(const QString& path) = 0;
};

} // namespace platform
