// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AutomationIntrospection.h"

#include <QByteArray>
#include <QDBusArgument>
#include <QDBusConnection>
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
// global thread pool and answers with a delayed reply. Introspection serves the installed
// interface description, documentation included.
class AutomationService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "app.tolvane.Tolvane.Automation1")
    Q_CLASSINFO("D-Bus Introspection", TOLVANE_AUTOMATION1_INTROSPECTION)
    Q_PROPERTY(QString DefaultBrowser READ defaultBrowser)
    Q_PROPERTY(bool LinksByRules READ linksByRules WRITE setLinksByRules)

public:
    static constexpr const char* serviceName = "app.tolvane.Tolvane";
    static constexpr const char* objectPath = "/app/tolvane/Tolvane";
    static constexpr const char* interfaceName = "app.tolvane.Tolvane.Automation1";
    static constexpr const char* couldNotSetDefaultBrowserError =
        "app.tolvane.Tolvane.Error.CouldNotSetDefaultBrowser";
    static constexpr const char* settingsUnavailableError = "app.tolvane.Tolvane.Error.SettingsUnavailable";
    static constexpr const char* noSuchBrowserError = "app.tolvane.Tolvane.Error.NoSuchBrowser";
    static constexpr const char* ambiguousBrowserError = "app.tolvane.Tolvane.Error.AmbiguousBrowser";

    // How the bus name is held. The tray instance keeps it and takes it over from a process that
    // only serves automation; such a process yields it and then emits nameLost.
    enum class NameOwnership { keep, yield };

    // Call once from main() after the QApplication exists. Returns none, after logging one line,
    // when there is no session bus or the name belongs to another process.
    static AutomationService* registerOnSessionBus(QObject* parent,
                                                   NameOwnership ownership = NameOwnership::keep);

    explicit AutomationService(QObject* parent = nullptr);

    // The desktop file ID of the https handler now; empty when none is set.
    QString defaultBrowser() const;
    bool linksByRules() const;
    void setLinksByRules(bool on);

    // Gives the bus name back, so the next call starts a new process; calls already here still run.
    void releaseName();

signals:
    // The bus name went to another process (a tray instance that started later).
    void nameLost();
    // A method was called (the idle timer of a bus-started service listens).
    void called();

public slots:
    // Reads the default again and announces it on the bus when it differs from the last one.
    // Connect whatever notices changes of the default-application files.
    void recheckDefaultBrowser();

public slots:
    QList<EntityRecord> SuggestedEntities();
    QList<EntityRecord> Entities(const QStringList& ids);
    void SetDefaultSystemBrowser(const QString& id);
    QList<FocusFilterRecord> SuggestedFocusFilters();
    void PerformFocusFilter(const QString& id);

private:
    QDBusConnection bus_{QString()};
    QString announcedDefault_;
};

} // namespace Tolvane

Q_DECLARE_METATYPE(Tolvane::EntityRecord)
Q_DECLARE_METATYPE(Tolvane::FocusFilterRecord)
