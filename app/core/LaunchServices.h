#pragma once

#include <QString>

#include <cstddef>
#include <exception>

namespace Tolvane {

// Encloses the error of the default-handler switch.
class LaunchServices {
public:
    class Error : public std::exception {
    public:
        enum class Code { couldNotSetDefaultBrowser };
        static const Error couldNotSetDefaultBrowser;

        Error() = default;
        // `reason` says in the user's words why, for the notification; it is not part of the value.
        explicit Error(QString reason) : reason_(std::move(reason)) {}
        const QString& reason() const { return reason_; }

        Code code() const { return code_; }
        // What a plain string conversion prints: the case name.
        QString description() const { return QStringLiteral("couldNotSetDefaultBrowser"); }
        const char* what() const noexcept override { return "couldNotSetDefaultBrowser"; }
        static QString domain() { return QStringLiteral("Tolvane.LaunchServices.Error"); }
        int errorCode() const { return 0; }

        friend bool operator==(const Error&, const Error&) { return true; }
        friend std::size_t qHash(const Error&, std::size_t seed = 0) { return seed ^ 0u; }

    private:
        Code code_ = Code::couldNotSetDefaultBrowser;
        QString reason_;
    };
};

inline const LaunchServices::Error LaunchServices::Error::couldNotSetDefaultBrowser{};

} // namespace Tolvane
