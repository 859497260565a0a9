#pragma once

#include <QByteArray>
#include <QDBusArgument>
#include <QDBusContext>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace Tolvane {

// One browser entity on the bus: (id, displayName, displaySubtitle, PNG image).
struct EntityRecord {
    QString id;
    QString displayName;
    QString displaySubtitle;
    QByteArray image;
};

// One suggested Focus filter on the bus: (browser id, title, subtitle).
struct FocusFilterRecord {
    QString browserId;
    QString title;
    QString subtitle;
};

QDBusArgument& operator<<(QDBusArgument& argument, const EntityRecord& record);
const QDBusArgument& operator>>(const QDBusArgument& argument, EntityRecord& record);
QDBusArgument& operator<<(QDBusArgument& argument, const FocusFilterRecord& record);
const QDBusArgument& operator>>(const QDBusArgument& argument, FocusFilterRecord& record);

// The browser entities, the set-browser action and the Focus filter, offered on the session bus.
// Slots are the bus methods; the set-browser action runs on the GUI thread, everything else on the
// global thread pool and answers with a delayed reply.
class AutomationService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "app.tolvane.Tolvane.Automation1")

public:
    static constexpr const char* serviceName = "app.tolvane.Tolvane";
    static constexpr const char* objectPath = "/app/tolvane/Tolvane";
    static constexpr const char* interfaceName = "app.tolvane.Tolvane.Automation1";
    static constexpr const char* couldNotSetDefaultBrowserError =
        "app.tolvane.Tolvane.Error.CouldNotSetDefaultBrowser";
    static constexpr const char* settingsUnavailableError = "app.tolvane.Tolvane.Error.SettingsUnavailable";

    // Call once from main() after the QApplication exists. Returns false, after logging one line,
    // when there is no session bus or the name belongs to another process.
    static bool registerOnSessionBus(QObject* parent);

    explicit AutomationService(QObject* parent = nullptr);

public slots:
    QList<EntityRecord> SuggestedEntities();
    QList<EntityRecord> Entities(const QStringList& ids);
    void SetDefaultSystemBrowser(const QString& id);
    QList<FocusFilterRecord> SuggestedFocusFilters();
    void PerformFocusFilter(const QString& id);
};

} // namespace Tolvane

Q_DECLARE_METATYPE(Tolvane::EntityRecord)
Q_DECLARE_METATYPE(Tolvane::FocusFilterRecord)
