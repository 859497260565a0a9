// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QLoggingCategory>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// Collects log entries for the life of the object: of one category, or of every category when none
// is named (other categories then go nowhere). Entries may come from any thread. `filterRules`
// switches categories on (e.g. debug entries) while it lives.
class LogCapture {
public:
    struct Entry {
        QString category;
        QtMsgType type;
        QString message;
    };

    explicit LogCapture(const char* category = nullptr, const char* filterRules = nullptr)
        : category_(category), filtered_(filterRules != nullptr) {
        if (filtered_)
            QLoggingCategory::setFilterRules(QString::fromUtf8(filterRules));
        current_ = this;
        previous_ = qInstallMessageHandler(&LogCapture::handle);
    }
    ~LogCapture() {
        qInstallMessageHandler(previous_);
        current_ = nullptr;
        if (filtered_)
            QLoggingCategory::setFilterRules({});
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    QList<Entry> entries() const {
        QMutexLocker lock(&mutex_);
        return entries_;
    }
    // Each entry as "<category>|<type>|<text>".
    QStringList lines() const {
        QStringList lines;
        for (const Entry& e : entries())
            lines << QStringLiteral("%1|%2|%3").arg(e.category).arg(int(e.type)).arg(e.message);
        return lines;
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        LogCapture* self = current_;
        if (self &&
            (!self->category_ || (context.category && qstrcmp(context.category, self->category_) == 0))) {
            QMutexLocker lock(&self->mutex_);
            self->entries_ << Entry{QString::fromUtf8(context.category), type, message};
        } else if (self && self->previous_) {
            self->previous_(type, context, message);
        }
    }

    const char* category_;
    bool filtered_;
    mutable QMutex mutex_;
    QList<Entry> entries_;
    QtMessageHandler previous_ = nullptr;
    static inline LogCapture* current_ = nullptr;
};
