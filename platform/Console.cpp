// SPDX-License-Identifier: GPL-3.0-or-later
#include "Console.h"

#include <atomic>
#include <cstdio>
#include <mutex>

namespace platform {
namespace {
std::atomic<bool> toStandardError{false};
} // namespace

void printLine(const QString& line) {
    static std::mutex mutex;
    const QByteArray bytes = line.toUtf8() + '\n';
    std::FILE* stream = toStandardError.load() ? stderr : stdout;
    std::lock_guard lock(mutex);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

void printLinesToStandardError() {
    toStandardError.store(true);
}

} // namespace platform
