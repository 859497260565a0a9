// SPDX-License-Identifier: GPL-3.0-or-later
// Program arguments are bytes, not text: a link handed on must reach the next program byte for byte,
// also where it is not UTF-8, so arguments travel as text that remembers every byte it came from.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace platform::linux_ {

// `bytes` as UTF-8, each byte that is not part of valid UTF-8 kept as the lone surrogate U+DC80..U+DCFF
// (0x80..0xFF); argumentBytes() gives the same bytes back.
QString argumentText(QByteArrayView bytes);
// The bytes `text` stands for: UTF-8, each lone surrogate U+DC80..U+DCFF as the byte it keeps. Other
// lone surrogates stand for no byte and are replaced.
QByteArray argumentBytes(const QString& text);

} // namespace platform::linux_
