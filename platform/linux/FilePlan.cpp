#include "FilePlan.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>

namespace platform::linux_ {
namespace {
Q_LOGGING_CATEGORY(lcPlan, "app.tolvane.Tolvane.handlers")
}

bool FilePlan::edit(const QString& path, bool onlyExisting, const std::function<void(QByteArray&)>& edit) {
    const QString target = resolveSymlinks(path);
    for (Planned& file : files_) {
        if (file.path == target) {
            edit(file.after);
            return true;
        }
    }
    auto before = readSnapshot(target);
    if (!before) {
        qCWarning(lcPlan) << "cannot read" << path;
        return false;
    }
    if (onlyExisting && !before->existed)
        return true;
    QByteArray after = before->content;
    edit(after);
    if (after != before->content || !before->existed)
        files_ << Planned{target, *before, after};
    return true;
}

bool FilePlan::create(const QString& path, const QByteArray& content) {
    return edit(path, false, [&](QByteArray& now) {
        if (now.isEmpty())
            now = content;
    });
}

bool FilePlan::remove(const QString& path) {
    auto before = readSnapshot(path);
    if (!before) {
        qCWarning(lcPlan) << "cannot read" << path;
        return false;
    }
    if (before->existed)
        files_ << Planned{path, *before, {}, true};
    return true;
}

const QByteArray* FilePlan::planned(const QString& path) const {
    const QString target = resolveSymlinks(path);
    for (const Planned& file : files_)
        if (file.path == target)
            return &file.after;
    return nullptr;
}

bool FilePlan::write(const Replace& replace, QString* error) {
    for (written_ = 0; written_ < files_.size(); ++written_) {
        const Planned& file = files_[written_];
        if (file.removed) {
            if (!QFile::remove(file.path) && QFileInfo::exists(file.path)) {
                *error = QStringLiteral("cannot remove ") + file.path;
                rollBack();
                return false;
            }
            continue;
        }
        if (!QDir().mkpath(QFileInfo(file.path).absolutePath())) {
            *error = QStringLiteral("cannot create the folder of ") + file.path;
            rollBack();
            return false;
        }
        if (!replace(file.path, file.after, error)) {
            rollBack();
            return false;
        }
    }
    return true;
}

void FilePlan::rollBack() {
    while (written_ > 0) {
        const Planned& file = files_[--written_];
        QString error;
        if (!restoreSnapshot(file.path, file.before, &error))
            qCCritical(lcPlan) << "could not restore" << file.path << error;
    }
}

} // namespace platform::linux_
