// SPDX-License-Identifier: GPL-3.0-or-later
#include "SaidOnce.h"

#include "RegularFile.h"
#include "platform/Paths.h"
#include "platform/linux/xdg/AtomicFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace Tolvane::links {
namespace {

constexpr qsizetype kept = 64; // reasons remembered; the oldest goes first

QByteArray keyOf(const QString& why) {
    return QCryptographicHash::hash(why.toUtf8(), QCryptographicHash::Sha1).toHex();
}

QList<QByteArray> keys(const QString& path) {
    QString error;
    const auto file = readRegularFile(path, 64 * 1024, &error);
    return file ? file->content.split('\n') : QList<QByteArray>();
}

} // namespace

SaidOnce::SaidOnce(QString path) : path_(std::move(path)) {}

QString SaidOnce::defaultPath() {
    return platform::tolvaneConfigDir() + QStringLiteral("/links.said");
}

bool SaidOnce::said(const QString& why) const {
    return keys(path_).contains(keyOf(why));
}

void SaidOnce::remember(const QString& why) {
    QList<QByteArray> now = keys(path_);
    now.removeAll(QByteArray());
    now.removeAll(keyOf(why));
    now << keyOf(why);
    if (now.size() > kept)
        now = now.mid(now.size() - kept);
    QDir().mkpath(QFileInfo(path_).path());
    QString error;
    platform::linux_::replaceFileAtomically(path_, now.join('\n') + '\n', &error);
}

} // namespace Tolvane::links
