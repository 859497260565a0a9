// A small StatusNotifier tray host for end-to-end tests, talking to the session bus the way
// desktop panels do.
//
//   sni-host watch                     own org.kde.StatusNotifierWatcher, print "item <service> <path>"
//                                      for every item that registers
//   sni-host item <service> <path>     the item's properties as JSON
//   sni-host layout <service> <menu>   open the menu (AboutToShow, "opened"), print GetLayout as JSON
//   sni-host click <service> <menu> <id>   Event(id, "clicked"), then close the menu ("closed")
//   sni-host activate <service> <path> <x> <y>   a left click on the icon
#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <cstdio>

namespace {

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString itemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString menuInterface = QStringLiteral("com.canonical.dbusmenu");

void printLine(const QByteArray& line) {
    std::fwrite(line.constData(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int fail(const QString& why) {
    std::fprintf(stderr, "sni-host: %s\n", qPrintable(why));
    return 1;
}

// The watcher as hosts implement it: its properties appear in introspection, which is how
// clients decide whether a host is there.
class Watcher : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ registeredItems)
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
public:
    explicit Watcher(QObject* parent) : QDBusAbstractAdaptor(parent) {}

    QStringList registeredItems() const { return items_; }
    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }

public slots:
    void RegisterStatusNotifierItem(const QString& serviceOrPath, const QDBusMessage& message) {
        // Items pass either their service name or, with the sender as service, an object path.
        QString service = serviceOrPath;
        QString path = QStringLiteral("/StatusNotifierItem");
        if (serviceOrPath.startsWith('/')) {
            service = message.service();
            path = serviceOrPath;
        }
        const QString entry = service + path;
        if (!items_.contains(entry))
            items_ << entry;
        printLine(QStringLiteral("item %1 %2").arg(service, path).toUtf8());
        emit StatusNotifierItemRegistered(entry);
    }
    void RegisterStatusNotifierHost(const QString&) {}

signals:
    void StatusNotifierItemRegistered(const QString& item);
    void StatusNotifierItemUnregistered(const QString& item);
    void StatusNotifierHostRegistered();

private:
    QStringList items_;
};

int watch() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    auto* root = new QObject(qApp);
    new Watcher(root);
    if (!bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), root))
        return fail(QStringLiteral("cannot export the watcher"));
    if (!bus.registerService(watcherService))
        return fail(QStringLiteral("cannot own %1: %2").arg(watcherService, bus.lastError().message()));
    printLine("ready");
    return QCoreApplication::exec();
}

QDBusMessage call(const QString& service, const QString& path, const QString& interface,
                  const QString& method, const QVariantList& arguments = {}) {
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    return QDBusConnection::sessionBus().call(message, QDBus::Block, 5000);
}

QJsonValue toJson(const QVariant& value);

// A D-Bus value Qt left undecoded: structs and arrays of the item's pixmaps and tool tip.
QJsonValue argumentToJson(const QDBusArgument& argument) {
    switch (argument.currentType()) {
    case QDBusArgument::StructureType: {
        QJsonArray fields;
        argument.beginStructure();
        while (!argument.atEnd())
            fields << argumentToJson(argument);
        argument.endStructure();
        return fields;
    }
    case QDBusArgument::ArrayType: {
        if (argument.currentSignature() == QLatin1String("ay")) {
            QByteArray bytes;
            argument >> bytes;
            return toJson(bytes);
        }
        QJsonArray elements;
        argument.beginArray();
        while (!argument.atEnd())
            elements << argumentToJson(argument);
        argument.endArray();
        return elements;
    }
    case QDBusArgument::MapType: {
        QJsonObject map;
        argument.beginMap();
        while (!argument.atEnd()) {
            argument.beginMapEntry();
            QString key;
            QDBusVariant value;
            argument >> key >> value;
            argument.endMapEntry();
            map.insert(key, toJson(value.variant()));
        }
        argument.endMap();
        return map;
    }
    case QDBusArgument::VariantType: {
        QDBusVariant value;
        argument >> value;
        return toJson(value.variant());
    }
    default:
        return toJson(argument.asVariant());
    }
}

QJsonValue toJson(const QVariant& value) {
    if (value.userType() == qMetaTypeId<QDBusArgument>())
        return argumentToJson(value.value<QDBusArgument>());
    if (value.userType() == qMetaTypeId<QDBusVariant>())
        return toJson(value.value<QDBusVariant>().variant());
    if (value.userType() == qMetaTypeId<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    if (value.typeId() == QMetaType::QVariantMap) {
        QJsonObject map;
        const QVariantMap values = value.toMap();
        for (auto it = values.begin(); it != values.end(); ++it)
            map.insert(it.key(), toJson(it.value()));
        return map;
    }
    if (value.typeId() == QMetaType::QByteArray)
        return QJsonValue(qsizetype(value.toByteArray().size())); // pixel data: its length is enough
    if (value.typeId() == QMetaType::QStringList)
        return QJsonArray::fromStringList(value.toStringList());
    return QJsonValue::fromVariant(value);
}

int item(const QString& service, const QString& path) {
    const QDBusMessage reply = call(service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                    QStringLiteral("GetAll"), {itemInterface});
    if (reply.type() != QDBusMessage::ReplyMessage)
        return fail(reply.errorMessage());
    printLine(QJsonDocument(toJson(reply.arguments().value(0)).toObject()).toJson(QJsonDocument::Compact));
    return 0;
}

// One dbusmenu node, (ia{sv}av), with its children.
QJsonObject node(const QDBusArgument& argument) {
    int id = 0;
    argument.beginStructure();
    argument >> id;
    const QJsonObject props = argumentToJson(argument).toObject();
    QJsonArray children;
    argument.beginArray();
    while (!argument.atEnd()) {
        QDBusVariant child;
        argument >> child;
        children << node(child.variant().value<QDBusArgument>());
    }
    argument.endArray();
    argument.endStructure();
    QJsonObject result = props;
    result.insert(QStringLiteral("id"), id);
    result.insert(QStringLiteral("children"), children);
    return result;
}

QVariant eventData() {
    return QVariant::fromValue(QDBusVariant(0));
}

uint timestamp() {
    return uint(QDateTime::currentSecsSinceEpoch());
}

int layout(const QString& service, const QString& menu) {
    call(service, menu, menuInterface, QStringLiteral("AboutToShow"), {0});
    call(service, menu, menuInterface, QStringLiteral("Event"),
         {0, QStringLiteral("opened"), eventData(), timestamp()});
    const QDBusMessage reply =
        call(service, menu, menuInterface, QStringLiteral("GetLayout"), {0, -1, QStringList()});
    if (reply.type() != QDBusMessage::ReplyMessage)
        return fail(reply.errorMessage());
    const QJsonObject root = node(reply.arguments().value(1).value<QDBusArgument>());
    printLine(QJsonDocument(root).toJson(QJsonDocument::Compact));
    return 0;
}

int click(const QString& service, const QString& menu, int id) {
    const QDBusMessage reply = call(service, menu, menuInterface, QStringLiteral("Event"),
                                    {id, QStringLiteral("clicked"), eventData(), timestamp()});
    call(service, menu, menuInterface, QStringLiteral("Event"),
         {0, QStringLiteral("closed"), eventData(), timestamp()});
    return reply.type() == QDBusMessage::ReplyMessage ? 0 : fail(reply.errorMessage());
}

int activate(const QString& service, const QString& path, int x, int y) {
    const QDBusMessage reply = call(service, path, itemInterface, QStringLiteral("Activate"), {x, y});
    return reply.type() == QDBusMessage::ReplyMessage ? 0 : fail(reply.errorMessage());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (!QDBusConnection::sessionBus().isConnected())
        return fail(QStringLiteral("no session bus"));
    const QString command = args.value(0);
    if (command == QLatin1String("watch"))
        return watch();
    if (command == QLatin1String("item") && args.size() == 3)
        return item(args[1], args[2]);
    if (command == QLatin1String("layout") && args.size() == 3)
        return layout(args[1], args[2]);
    if (command == QLatin1String("click") && args.size() == 4)
        return click(args[1], args[2], args[3].toInt());
    if (command == QLatin1String("activate") && args.size() == 5)
        return activate(args[1], args[2], args[3].toInt(), args[4].toInt());
    return fail(
        QStringLiteral("usage: sni-host watch | item S P | layout S M | click S M ID | activate S P X Y"));
}

#include "StatusNotifierHost.moc"
