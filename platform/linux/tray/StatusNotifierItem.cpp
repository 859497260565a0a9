#include "StatusNotifierItem.h"

#include "ExportedTrayMenu.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QLoggingCategory>
#include <QtEndian>

Q_LOGGING_CATEGORY(lcTray, "app.tolvane.Tolvane.tray")

namespace Tolvane::StatusNotifier {

// An icon as the item sends it: width, height and ARGB32 pixels in network byte order (iiay).
struct Pixmap {
    int width = 0;
    int height = 0;
    QByteArray pixels;
};
using Pixmaps = QList<Pixmap>;

// (sa(iiay)ss): icon name, icon pixmaps, title, text.
struct ToolTip {
    QString iconName;
    Pixmaps pixmaps;
    QString title;
    QString text;
};

QDBusArgument& operator<<(QDBusArgument& argument, const Pixmap& pixmap) {
    argument.beginStructure();
    argument << pixmap.width << pixmap.height << pixmap.pixels;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, Pixmap& pixmap) {
    argument.beginStructure();
    argument >> pixmap.width >> pixmap.height >> pixmap.pixels;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const ToolTip& tip) {
    argument.beginStructure();
    argument << tip.iconName << tip.pixmaps << tip.title << tip.text;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, ToolTip& tip) {
    argument.beginStructure();
    argument >> tip.iconName >> tip.pixmaps >> tip.title >> tip.text;
    argument.endStructure();
    return argument;
}

} // namespace Tolvane::StatusNotifier

Q_DECLARE_METATYPE(Tolvane::StatusNotifier::Pixmap)
Q_DECLARE_METATYPE(Tolvane::StatusNotifier::ToolTip)

namespace Tolvane {
namespace {

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString watcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString itemPath = QStringLiteral("/StatusNotifierItem");
const QString menuPath = QStringLiteral("/MenuBar");

StatusNotifier::Pixmaps pixmapsOf(const QIcon& icon) {
    StatusNotifier::Pixmaps pixmaps;
    for (int size : {16, 22, 24, 32, 48, 64}) {
        const QImage image = icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
        if (image.isNull())
            continue;
        QByteArray pixels(image.width() * image.height() * 4, Qt::Uninitialized);
        auto* out = reinterpret_cast<quint32*>(pixels.data());
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const quint32*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                *out++ = qToBigEndian(line[x]);
        }
        pixmaps << StatusNotifier::Pixmap{image.width(), image.height(), pixels};
    }
    return pixmaps;
}

// The org.kde.StatusNotifierItem interface of the item.
class StatusNotifierItemAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ category)
    Q_PROPERTY(QString Id READ id)
    Q_PROPERTY(QString Title READ title)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(int WindowId READ windowId)
    Q_PROPERTY(QString IconThemePath READ empty)
    Q_PROPERTY(QDBusObjectPath Menu READ menu)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu)
    Q_PROPERTY(QString IconName READ empty)
    Q_PROPERTY(Tolvane::StatusNotifier::Pixmaps IconPixmap READ iconPixmap)
    Q_PROPERTY(QString OverlayIconName READ empty)
    Q_PROPERTY(Tolvane::StatusNotifier::Pixmaps OverlayIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionIconName READ empty)
    Q_PROPERTY(Tolvane::StatusNotifier::Pixmaps AttentionIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionMovieName READ empty)
    Q_PROPERTY(Tolvane::StatusNotifier::ToolTip ToolTip READ toolTip)
public:
    explicit StatusNotifierItemAdaptor(StatusNotifierItem* item)
        : QDBusAbstractAdaptor(item), item_(item), pixmaps_(pixmapsOf(item->icon())) {
        connect(item, &StatusNotifierItem::toolTipChanged, this, &StatusNotifierItemAdaptor::NewToolTip);
    }

    QString category() const { return QStringLiteral("ApplicationStatus"); }
    QString id() const { return QStringLiteral("app.tolvane.Tolvane"); }
    QString title() const { return item_->title(); }
    QString status() const { return QStringLiteral("Active"); }
    int windowId() const { return 0; }
    QString empty() const { return {}; }
    QDBusObjectPath menu() const { return QDBusObjectPath(menuPath); }
    // Any click opens the menu, drawn by the host beside its icon.
    bool itemIsMenu() const { return true; }
    StatusNotifier::Pixmaps iconPixmap() const { return pixmaps_; }
    StatusNotifier::Pixmaps noPixmaps() const { return {}; }
    StatusNotifier::ToolTip toolTip() const { return {QString(), {}, item_->title(), item_->toolTipText()}; }

public slots:
    // Hosts that cannot draw the exported menu, or ignore ItemIsMenu, ask the item to.
    void ContextMenu(int x, int y) { emit item_->menuRequested(QPoint(x, y)); }
    void Activate(int x, int y) { emit item_->menuRequested(QPoint(x, y)); }
    void SecondaryActivate(int, int) {}
    void Scroll(int, const QString&) {}
    // Sent before Activate or the menu's event: the token lets the window a click opens take focus.
    void ProvideXdgActivationToken(const QString& token) { emit item_->activationTokenProvided(token); }

signals:
    void NewTitle();
    void NewIcon();
    void NewAttentionIcon();
    void NewOverlayIcon();
    void NewToolTip();
    void NewStatus(const QString& status);

private:
    StatusNotifierItem* item_;
    StatusNotifier::Pixmaps pixmaps_;
};

void registerTypes() {
    static const bool registered = [] {
        qDBusRegisterMetaType<StatusNotifier::Pixmap>();
        qDBusRegisterMetaType<StatusNotifier::Pixmaps>();
        qDBusRegisterMetaType<StatusNotifier::ToolTip>();
        return true;
    }();
    Q_UNUSED(registered);
}

} // namespace

StatusNotifierItem::StatusNotifierItem(const QString& title, const QIcon& icon, QMenu* menu, QObject* parent)
    : QObject(parent), title_(title), icon_(icon), menu_(new ExportedTrayMenu(menu, this)) {
    registerTypes();
    new StatusNotifierItemAdaptor(this);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    // The watcher lives in the panel (or the desktop's shell): it comes and goes with it.
    auto* watcher =
        new QDBusServiceWatcher(watcherService, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) {
                if (newOwner.isEmpty())
                    watcherGone();
                else
                    watcherAppeared(false);
            });
    // A watcher may be up before any host draws its items, and outlive them (Plasma's shell restarting).
    for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"})
        bus.connect(watcherService, watcherPath, watcherService, QLatin1String(signal), this,
                    SLOT(hostsChanged()));
    // On the bus before any watcher: a watcher that looks for items on the bus by itself when it
    // starts (GNOME's) then finds this one under the name it is registered by, not as a second item
    // under another name of the connection.
    publish();
    if (bus.interface()->isServiceRegistered(watcherService))
        watcherAppeared(/*wait=*/true);
}

StatusNotifierItem::~StatusNotifierItem() {
    if (!published_)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(itemPath);
    bus.unregisterService(service_);
}

void StatusNotifierItem::setToolTipText(const QString& text) {
    if (text == toolTipText_)
        return;
    toolTipText_ = text;
    emit toolTipChanged();
}

bool StatusNotifierItem::publish() {
    if (published_)
        return true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    // Hosts find the item at its service name's standard path.
    service_ = QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(QCoreApplication::applicationPid());
    if (!bus.registerService(service_) ||
        !bus.registerObject(itemPath, this, QDBusConnection::ExportAdaptors) || !menu_->publish(menuPath)) {
        qCWarning(lcTray, "Could not put the tray item on the session bus: %s",
                  qPrintable(bus.lastError().message()));
        return false;
    }
    published_ = true;
    return true;
}

void StatusNotifierItem::watcherAppeared(bool wait) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!publish())
        return;
    setSettling(true);
    QDBusMessage call = QDBusMessage::createMethodCall(watcherService, watcherPath, watcherService,
                                                       QStringLiteral("RegisterStatusNotifierItem"));
    call << service_;
    if (wait) {
        // At start the answer decides whether Tolvane needs another way to be seen; it is quick.
        const QDBusMessage reply = bus.call(call, QDBus::Block, 5000);
        if (itemRegistered(reply.type() == QDBusMessage::ErrorMessage ? reply.errorMessage() : QString()))
            hostRegistered(true);
        else
            setSettling(false);
        return;
    }
    auto* pending = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* reply) {
        reply->deleteLater();
        if (itemRegistered(reply->isError() ? reply->error().message() : QString()))
            hostRegistered(false);
        else
            setSettling(false);
    });
}

bool StatusNotifierItem::itemRegistered(const QString& error) {
    if (!error.isNull()) {
        qCWarning(lcTray, "The tray's watcher refused the item: %s", qPrintable(error));
        return false;
    }
    qCInfo(lcTray, "Tray item registered with the watcher");
    return true;
}

void StatusNotifierItem::hostRegistered(bool wait) {
    if (!published_)
        return;
    setSettling(true);
    QDBusMessage get = QDBusMessage::createMethodCall(watcherService, watcherPath,
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << watcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    // A watcher that does not say is taken to have its host with it, as panels that embed one do.
    const auto answer = [this](const QDBusPendingReply<QDBusVariant>& value) {
        setShown(value.isError() || value.value().variant().toBool());
        setSettling(false);
    };
    if (wait) {
        answer(QDBusPendingReply<QDBusVariant>(QDBusConnection::sessionBus().call(get, QDBus::Block, 5000)));
        return;
    }
    auto* pending = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(get), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [answer](QDBusPendingCallWatcher* reply) {
        reply->deleteLater();
        answer(*reply);
    });
}

void StatusNotifierItem::watcherGone() {
    qCInfo(lcTray, "The tray's watcher went away; waiting for it to come back");
    setShown(false);
    setSettling(false);
}

void StatusNotifierItem::setShown(bool shown) {
    if (shown_ == shown)
        return;
    shown_ = shown;
    emit shownChanged(shown);
}

void StatusNotifierItem::setSettling(bool settling) {
    if (settling_ == settling)
        return;
    settling_ = settling;
    // The other kind of icon was held back meanwhile; it may be wanted now.
    if (!settling)
        emit shownChanged(shown_);
}

} // namespace Tolvane

#include "StatusNotifierItem.moc"
