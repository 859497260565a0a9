// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileSystem.h"

#include <QSet>

namespace platform::fake {

class FakeFileSystem : public FileSystem {
public:
    QSet<QString> existing;
    bool fileExists(const QString& path) override { return existing.contains(path); }
};

} // namespace platform::fake
