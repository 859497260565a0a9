// SPDX-License-Identifier: GPL-3.0-or-later
#include "AutomationService.h"

#include "BrowserEntity.h"
#include "BrowserEntityQuery.h"
#include "IntentLog.h"
#include "LaunchServices.h"
#include "TolvaFocusFilterIntent.h"
#include "TolvaSetBrowserIntent.h"
#include "app/core/ListedBrowsers.h"
#include "platform/HandlerService.h"
#include "platform/LinkRouting.h"
#include "platform/Services.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QLoggingCategory>
#include <QThreadPool>

#include <functional>

namespace Tolvane {

QDBusArgument& operator<<(QDBusArgument& argument, const EntityRecord& record) {
    argument.beginStructure();
    argument << record.id << record.displayName << record.displaySubtitle << record.image;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, EntityRecord& record) {
    argument.beginStructure();
    argument >> record.id >> record.displayName >> record.displaySubtitle >> record.image;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const FocusFilterRecord& record) {
    argument.beginStructure();
    argument << record.browserId << record.title << record.subtitle;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, FocusFilterRecord& record) {
    argument.beginStructure();
    argument >> record.browserId >> record.title >> record.subtitle;
    argument.endStructure();
    return argument;
}

namespace {

void logWarning(const QString& text) {
    const QByteArray name = intentLogCategoryName("Automation");
    const QLoggingCategory log(name.constData());
    QMessageLogger().warning(log, "%s", qUtf8Printable(text));
}

QList<EntityRecord> records(const QList<BrowserEntity>& entities) {
    QList<EntityRecord> list;
    for (const BrowserEntity& entity : entities)
        list << EntityRecord{entity.id, entity.displayName, entity.displaySubtitle, entity.image};
    return list;
}

// An id as error messages quote it: whole when short, shortened when a caller sent pages of it.
QString quotedId(const QString& id) {
    constexpr int longest = 200;
    return QStringLiteral("\u201c%1\u201d").arg(id.size() > longest ? id.left(longest) + QChar(0x2026) : id);
}

// An intent run that found no browser for the id is an error for the caller.
class NoSuchBrowser : public std::exception {
public:
    explicit NoSuchBrowser(QString id) : id_(std::move(id)) {}
    QString message() const {
        return QStringLiteral(
                   "No installed browser has the id %1; ask SuggestedEntities for the current ids.")
            .arg(quotedId(id_));
    }

private:
    QString id_;
};

// A name that several browsers share: the caller learns which desktop file IDs tell them apart.
class AmbiguousBrowser : public std::exception {
public:
    AmbiguousBrowser(QString wanted, const QList<ListedBrowser>& named) : wanted_(std::move(wanted)) {
        for (const ListedBrowser& listed : named)
            desktopIds_ << listed.desktopId;
    }
    QString message() const {
        return QStringLiteral("%1 names several browsers; use one of their desktop file IDs: %2.")
            .arg(quotedId(wanted_), desktopIds_.join(QStringLiteral(", ")));
    }

private:
    QString wanted_;
    QStringList desktopIds_;
};

// The browser a caller names, in any form the command line's --set takes: the automation id (an
// outdated one of an updated browser too), the desktop file ID with or without ".desktop", or the
// name. An empty or unknown name reaches the intent as it came, which prints that nothing matched.
BrowserEntity chosenEntity(const QString& wanted) {
    BrowserEntity entity;
    entity.id = wanted;
    // An id in the automation form (as SuggestedEntities gives it) goes to the intent as it is: the
    // intent's match is the first rule anyway, and the browsers are looked up only once.
    if (wanted.isEmpty() || wanted.contains(QLatin1String(":file:")))
        return entity;
    const QList<ListedBrowser> named = browsersNamed(listedBrowsers(), wanted);
    if (named.size() > 1)
        throw AmbiguousBrowser(wanted, named);
    if (named.size() == 1)
        entity.id = named.first().browser.id();
    return entity;
}

void requireMatch(IntentOutcome outcome, const QString& id) {
    // The bus cannot send "no browser": an empty id names none, like a mistyped one.
    if (outcome != IntentOutcome::switched)
        throw NoSuchBrowser(id);
}

// Runs `work` and turns its outcome into the reply; nothing thrown escapes into the event loop.
QDBusMessage answer(const QDBusMessage& request, const std::function<QVariantList()>& work) {
    try {
        return request.createReply(work());
    } catch (const LaunchServices::Error& error) {
        return request.createErrorReply(
            QString::fromLatin1(AutomationService::couldNotSetDefaultBrowserError), error.message());
    } catch (const SettingsUnavailable& error) {
        return request.createErrorReply(QString::fromLatin1(AutomationService::settingsUnavailableError),
                                        error.message());
    } catch (const NoSuchBrowser& error) {
        return request.createErrorReply(QString::fromLatin1(AutomationService::noSuchBrowserError),
                                        error.message());
    } catch (const AmbiguousBrowser& error) {
        return request.createErrorReply(QString::fromLatin1(AutomationService::ambiguousBrowserError),
                                        error.message());
    } catch (const std::exception& error) {
        return request.createErrorReply(QDBusError::Failed, QString::fromLocal8Bit(error.what()));
    }
}

} // namespace

AutomationService::AutomationService(QObject* parent) : QObject(parent) {
    qDBusRegisterMetaType<EntityRecord>();
    qDBusRegisterMetaType<QList<EntityRecord>>();
    qDBusRegisterMetaType<FocusFilterRecord>();
    qDBusRegisterMetaType<QList<FocusFilterRecord>>();
    stopDrawingIconsAtQuit();
}

AutomationService* AutomationService::registerOnSessionBus(QObject* parent, NameOwnership ownership) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        logWarning("Automation is not offered: no session bus (" + bus.lastError().message() + ")");
        return nullptr;
    }
    auto* service = new AutomationService(parent);
    service->bus_ = bus;
    service->announcedDefault_ = service->defaultBrowser();
    // The object goes up before the name, so a call that started us finds it at once. Other
    // interfaces of the program (the link picker) attach to it as adaptors.
    if (!bus.registerObject(QString::fromLatin1(objectPath), service,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties |
                                QDBusConnection::ExportAdaptors)) {
        logWarning(QStringLiteral("Automation is not offered: the object path is taken"));
        delete service;
        return nullptr;
    }
    const bool yield = ownership == NameOwnership::yield;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> claimed =
        bus.interface()->registerService(QString::fromLatin1(serviceName),
                                         QDBusConnectionInterface::ReplaceExistingService,
                                         yield ? QDBusConnectionInterface::AllowReplacement
                                               : QDBusConnectionInterface::DontAllowReplacement);
    if (!claimed.isValid() || claimed.value() != QDBusConnectionInterface::ServiceRegistered) {
        logWarning(QStringLiteral("Automation is not offered: %1 belongs to another process")
                       .arg(QString::fromLatin1(serviceName)));
        bus.unregisterObject(QString::fromLatin1(objectPath));
        delete service;
        return nullptr;
    }
    if (yield)
        connect(bus.interface(), &QDBusConnectionInterface::serviceUnregistered, service,
                [service](const QString& name) {
                    if (name == QLatin1String(serviceName))
                        emit service->nameLost();
                });
    return service;
}

QString AutomationService::defaultBrowser() const {
    return platform::get<platform::HandlerService>()
        ->defaultHandlerForURLScheme(QStringLiteral("https"))
        .value_or(QString());
}

namespace {
Q_LOGGING_CATEGORY(lcAutomation, "app.tolvane.Tolvane.automation")
} // namespace

bool AutomationService::linksByRules() const {
    return platform::get<platform::LinkRouting>()->state() == platform::LinkRouting::State::on;
}

void AutomationService::setLinksByRules(bool on) {
    const auto routing = platform::get<platform::LinkRouting>();
    if (routing->setOn(on) != platform::HandlerService::noErr)
        qCWarning(lcAutomation).noquote()
            << "Could not turn link rules" << (on ? "on:" : "off:") << routing->failureReason();
    // Said either way: a refused change shows as the value staying what it was.
    QDBusMessage changed = QDBusMessage::createSignal(QString::fromLatin1(objectPath),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("PropertiesChanged"));
    changed << QString::fromLatin1(interfaceName)
            << QVariantMap{{QStringLiteral("LinksByRules"), linksByRules()}} << QStringList();
    bus_.send(changed);
    recheckDefaultBrowser();
}

void AutomationService::releaseName() {
    bus_.interface()->unregisterService(QString::fromLatin1(serviceName));
}

void AutomationService::recheckDefaultBrowser() {
    const QString now = defaultBrowser();
    if (now == announcedDefault_)
        return;
    announcedDefault_ = now;
    QDBusMessage changed = QDBusMessage::createSignal(QString::fromLatin1(objectPath),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("PropertiesChanged"));
    changed << QString::fromLatin1(interfaceName) << QVariantMap{{QStringLiteral("DefaultBrowser"), now}}
            << QStringList();
    bus_.send(changed);
}

namespace {

// Discovery, settings reads and the Focus filter's switch run on the pool; the reply follows when done.
void replyFromPool(const QDBusMessage& request, const QDBusConnection& bus,
                   std::function<QVariantList()> work) {
    QThreadPool::globalInstance()->start(
        [request, bus, work = std::move(work)] { QDBusConnection(bus).send(answer(request, work)); });
}

} // namespace

QList<EntityRecord> AutomationService::SuggestedEntities() {
    emit called();
    setDelayedReply(true);
    replyFromPool(message(), connection(), [] {
        return QVariantList{QVariant::fromValue(records(BrowserEntityQuery().suggestedEntities()))};
    });
    return {};
}

QList<EntityRecord> AutomationService::Entities(const QStringList& ids) {
    emit called();
    setDelayedReply(true);
    replyFromPool(message(), connection(), [ids] {
        return QVariantList{QVariant::fromValue(records(BrowserEntityQuery().entities(ids)))};
    });
    return {};
}

void AutomationService::SetDefaultSystemBrowser(const QString& id) {
    emit called();
    // The set-browser action belongs to the GUI thread, where this slot runs.
    setDelayedReply(true);
    connection().send(answer(message(), [&id] {
        TolvaSetBrowserIntent intent;
        intent.browser = chosenEntity(id);
        requireMatch(intent.perform(), id);
        return QVariantList{};
    }));
}

QList<FocusFilterRecord> AutomationService::SuggestedFocusFilters() {
    emit called();
    setDelayedReply(true);
    replyFromPool(message(), connection(), [] {
        QList<FocusFilterRecord> list;
        for (const TolvaFocusFilterIntent& filter : TolvaFocusFilterIntent::suggestedFocusFilters()) {
            const auto shown = filter.displayRepresentation();
            list << FocusFilterRecord{filter.browser ? filter.browser->id : QString(), shown.title,
                                      shown.subtitle};
        }
        return QVariantList{QVariant::fromValue(list)};
    });
    return {};
}

void AutomationService::PerformFocusFilter(const QString& id) {
    emit called();
    setDelayedReply(true);
    replyFromPool(message(), connection(), [id] {
        TolvaFocusFilterIntent filter;
        filter.browser = chosenEntity(id);
        requireMatch(filter.perform(), id);
        return QVariantList{};
    });
}

} // namespace Tolvane
