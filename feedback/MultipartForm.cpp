// SPDX-License-Identifier: GPL-3.0-or-later
#include "MultipartForm.h"

#include <cstdint>
#include <cstring>

#include <sys/mman.h>

namespace Tellwick {

namespace {

// Header texts come from callers (file names picked by the user); a CR or LF in them would start a
// new header line inside the part, so they become underscores.
QByteArray headerText(const QString& text, bool replaceQuotes) {
    QByteArray bytes = text.toUtf8();
    for (char& c : bytes)
        if (c == '\r' || c == '\n' || (replaceQuotes && c == '"'))
            c = '_';
    return bytes;
}

QByteArray partHeader(const QByteArray& boundary, const MultipartForm::Part& part) {
    QByteArray header;
    header.reserve(128 + boundary.size() + part.name.size() * 3);
    header += "--" + boundary + "\r\n";
    header += "Content-Disposition: form-data; name=\"" + headerText(part.name, false) + '"';
    if (part.filename)
        header += "; filename=\"" + headerText(*part.filename, true) + '"';
    header += "\r\n";
    if (part.contentType)
        header += "Content-Type: " + headerText(*part.contentType, false) + "\r\n";
    header += "\r\n";
    return header;
}

// A fresh buffer of many MiB costs one page fault per 4 KiB on first write, which takes longer than the
// copy itself; asking for huge pages cuts the faults by a factor of 512 where the kernel allows it.
void preferHugePages(QByteArray& buffer) {
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t huge = 2 * 1024 * 1024;
    if (buffer.size() < qsizetype(4 * huge))
        return;
    const auto begin = (reinterpret_cast<std::uintptr_t>(buffer.data()) + huge - 1) & ~(huge - 1);
    const auto end =
        (reinterpret_cast<std::uintptr_t>(buffer.data()) + std::uintptr_t(buffer.size())) & ~(huge - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    Q_UNUSED(buffer);
#endif
}

} // namespace

QByteArray MultipartForm::bodyData() const {
    const QByteArray boundaryBytes = boundary.toUtf8();
    QList<QByteArray> headers;
    headers.reserve(parts.size());
    qsizetype total = 2 + boundaryBytes.size() + 4;
    for (const auto& part : parts) {
        headers.append(partHeader(boundaryBytes, part));
        total += headers.back().size() + part.data.size() + 2;
    }

    QByteArray body(total, Qt::Uninitialized);
    preferHugePages(body);
    char* out = body.data();
    auto append = [&out](const char* bytes, qsizetype size) {
        if (size > 0)
            std::memcpy(out, bytes, size_t(size));
        out += size;
    };
    for (qsizetype i = 0; i < parts.size(); ++i) {
        append(headers[i].constData(), headers[i].size());
        append(parts[i].data.constData(), parts[i].data.size());
        append("\r\n", 2);
    }
    append("--", 2);
    append(boundaryBytes.constData(), boundaryBytes.size());
    append("--\r\n", 4);
    Q_ASSERT(out == body.constData() + body.size());
    return body;
}

QString rawValue(MultipartForm::MultipartType type) {
    return type == MultipartForm::MultipartType::mixed ? QStringLiteral("mixed")
                                                       : QStringLiteral("form-data");
}

size_t qHash(const MultipartForm::Part& part, size_t seed) {
    return qHashMulti(seed, part.name, part.data, part.filename.value_or(QString()),
                      part.filename.has_value(), part.contentType.value_or(QString()),
                      part.contentType.has_value());
}

size_t qHash(const MultipartForm& form, size_t seed) {
    seed = qHashMulti(seed, form.boundary, int(form.multipartType));
    for (const auto& part : form.parts)
        seed = qHash(part, seed);
    return seed;
}

} // namespace Tellwick
