// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the small files the router needs at every click without ever waiting on a pipe or device in
// their place.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace Tolvane::links {

struct RegularFile {
    bool exists = false;
    QByteArray content;
};

// The file's content; a missing file is an empty one. None, with `error` saying why in the user's
// language, for anything that is not a regular file of at most `maxSize` bytes or cannot be read.
std::optional<RegularFile> readRegularFile(const QString& path, qint64 maxSize, QString* error);

} // namespace Tolvane::links
