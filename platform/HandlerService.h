// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace platform {

// Changes which application handles a URL scheme.
class HandlerService {
public:
    virtual ~HandlerService() = default;
    static constexpr int noErr = 0;
    static constexpr int applicationNotFound = -10814;
    static constexpr int writeFailed = -10810;
    static constexpr int verifyFailed = -10822;

    // Makes the application with identifier `bundleId` (lower case) the handler of `scheme`.
    // Returns noErr on success, a negative status otherwise; nothing is half-changed on failure.
    virtual int setDefaultHandlerForURLScheme(const QString& scheme, const QString& bundleId) = 0;
    // The same for the application listed at `application`: where one identifier can name more than
    // one installed application (desktop-file IDs that differ only in case), that one is chosen.
    virtual int setDefaultHandlerForURLScheme(const QString& scheme, const QString& bundleId,
                                              const QUrl& application) {
        Q_UNUSED(application);
        return setDefaultHandlerForURLScheme(scheme, bundleId);
    }

    // Why the last call on this object fell short, in the system's words: the file and the reason
    // the system gave for a switch that failed, or for a file a reading had to pass over; empty
    // when there is nothing more to say.
    virtual QString failureReason() const { return {}; }

    // The identifier of the application that opens `scheme` links now (on Linux its desktop-file
    // ID), or none when no installed application is set.
    virtual std::optional<QString> defaultHandlerForURLScheme(const QString& scheme) = 0;
};

} // namespace platform
