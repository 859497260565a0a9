// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstddef>
#include <exception>
#include <utility>

namespace Tolvane {

// Encloses the error of the default-handler switch.
class LaunchServices {
public:
    class Error : public std::exception {
    public:
        enum class Code { couldNotSetDefaultBrowser };
        static const Error couldNotSetDefaultBrowser;

        Error() = default;
        // The refused switch to `browserName`, with the platform's status saying why and, when the
        // system said more, its words (which file, what went wrong).
        Error(int status, QString browserName, QString detail = {})
            : status_(status), browserName_(std::move(browserName)), detail_(std::move(detail)) {}

        Code code() const { return code_; }
        // What a plain string conversion prints: the case name.
        QString description() const { return QStringLiteral("couldNotSetDefaultBrowser"); }
        const char* what() const noexcept override { return "couldNotSetDefaultBrowser"; }
        static QString domain() { return QStringLiteral("Tolvane.LaunchServices.Error"); }
        int errorCode() const { return 0; }
        int status() const { return status_; }
        // A sentence for people and scripts: which browser, and why the switch did not happen.
        QString message() const;
        // Why, in the user's language, for the desktop notification; not part of the value.
        QString reason() const;
        // The system's words on the failure, or empty.
        const QString& detail() const { return detail_; }

        friend bool operator==(const Error&, const Error&) { return true; }
        friend std::size_t qHash(const Error&, std::size_t seed = 0) { return seed ^ 0u; }

    private:
        Code code_ = Code::couldNotSetDefaultBrowser;
        int status_ = 0;
        QString browserName_;
        QString detail_;
    };
};

inline const LaunchServices::Error LaunchServices::Error::couldNotSetDefaultBrowser{};

} // namespace Tolvane
