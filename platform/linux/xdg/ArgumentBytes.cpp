// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArgumentBytes.h"

namespace platform::linux_ {
namespace {

// The length of the valid UTF-8 sequence at `at`, or 0: overlong forms, surrogates and values past
// U+10FFFF are not valid.
qsizetype sequenceAt(QByteArrayView bytes, qsizetype at, char32_t* value) {
    const auto byte = [&](qsizetype i) { return uchar(bytes[i]); };
    const uchar lead = byte(at);
    qsizetype length;
    char32_t v;
    if (lead < 0x80) {
        *value = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, v = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, v = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, v = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    for (qsizetype i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        v = (v << 6) | (byte(at + i) & 0x3F);
    }
    const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (v < least || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF))
        return 0;
    *value = v;
    return length;
}

} // namespace

QString argumentText(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        char32_t value;
        if (const qsizetype length = sequenceAt(bytes, i, &value)) {
            if (QChar::requiresSurrogates(value))
                text += QChar(QChar::highSurrogate(value)), text += QChar(QChar::lowSurrogate(value));
            else
                text += QChar(char16_t(value));
            i += length;
        } else {
            text += QChar(char16_t(0xDC00 + uchar(bytes[i++])));
        }
    }
    return text;
}

QByteArray argumentBytes(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    // Runs of ordinary text go through Qt's encoder; each kept byte goes in as itself.
    qsizetype from = 0;
    const auto flush = [&](qsizetype to) {
        if (to > from)
            bytes += QStringView(text).mid(from, to - from).toUtf8();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool paired =
            QChar::isLowSurrogate(c) && i > 0 && QChar::isHighSurrogate(text[i - 1].unicode());
        if (c >= 0xDC80 && c <= 0xDCFF && !paired) {
            flush(i);
            bytes += char(c - 0xDC00);
            from = i + 1;
        }
    }
    flush(text.size());
    return bytes;
}

} // namespace platform::linux_
