#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// Collects log entries of one category for the life of the object.
class LogCapture {
public:
    struct Entry {
        QtMsgType type;
        QString message;
    };

    explicit LogCapture(const char* category) : category_(category) {
        current_ = this;
        previous_ = qInstallMessageHandler(&LogCapture::handle);
    }
    ~LogCapture() {
        qInstallMessageHandler(previous_);
        current_ = nullptr;
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    QList<Entry> entries;

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (current_ && context.category && qstrcmp(context.category, current_->category_) == 0)
            current_->entries << Entry{type, message};
        else if (current_ && current_->previous_)
            current_->previous_(type, context, message);
    }

    const char* category_;
    QtMessageHandler previous_ = nullptr;
    static inline LogCapture* current_ = nullptr;
};
