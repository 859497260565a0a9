// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHashFunctions>
#include <QList>
#include <QString>

#include <optional>

namespace Tellwick {

// A list of named parts written as a multipart/form-data body.
struct MultipartForm {
    enum class MultipartType { formData, mixed };

    struct Part {
        QString name;
        QByteArray data;
        std::optional<QString> filename;
        std::optional<QString> contentType;
        bool operator==(const Part&) const = default;
    };

    QString boundary;
    QList<Part> parts;
    // Carried along only: every part is written as form-data either way.
    MultipartType multipartType = MultipartType::formData;

    bool operator==(const MultipartForm&) const = default;

    // The encoded body, built in one pass into one buffer of the exact final size.
    QByteArray bodyData() const;
};

QString rawValue(MultipartForm::MultipartType type);

size_t qHash(const MultipartForm::Part& part, size_t seed = 0);
size_t qHash(const MultipartForm& form, size_t seed = 0);

} // namespace Tellwick
