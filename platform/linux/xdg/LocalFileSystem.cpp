// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocalFileSystem.h"

#include <QFile>

#include <filesystem>

namespace platform::linux_ {

bool LocalFileSystem::fileExists(const QString& path) {
    std::error_code error;
    return std::filesystem::exists(QFile::encodeName(path).toStdString(), error);
}

} // namespace platform::linux_
