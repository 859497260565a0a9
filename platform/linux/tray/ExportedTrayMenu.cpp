#include "ExportedTrayMenu.h"

#include "MenuChanges.h"

#include <QAction>
#include <QBuffer>
#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QMenu>
#include <QTimer>

namespace Tolvane::DBusMenu {

// One entry with its children, as GetLayout sends it: (ia{sv}av).
struct Layout {
    int id = 0;
    QVariantMap properties;
    QList<QDBusVariant> children;
};

// One entry's properties: (ia{sv}).
struct Item {
    int id = 0;
    QVariantMap properties;
};

// One event of EventGroup: (isvu).
struct Event {
    int id = 0;
    QString eventId;
    QDBusVariant data;
    uint timestamp = 0;
};

QDBusArgument& operator<<(QDBusArgument& argument, const Layout& layout) {
    argument.beginStructure();
    argument << layout.id << layout.properties;
    argument.beginArray(qMetaTypeId<QDBusVariant>());
    for (const QDBusVariant& child : layout.children)
        argument << child;
    argument.endArray();
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, Layout& layout) {
    argument.beginStructure();
    argument >> layout.id >> layout.properties;
    argument.beginArray();
    layout.children.clear();
    while (!argument.atEnd()) {
        QDBusVariant child;
        argument >> child;
        layout.children << child;
    }
    argument.endArray();
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const Item& item) {
    argument.beginStructure();
    argument << item.id << item.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, Item& item) {
    argument.beginStructure();
    argument >> item.id >> item.properties;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const Event& event) {
    argument.beginStructure();
    argument << event.id << event.eventId << event.data << event.timestamp;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, Event& event) {
    argument.beginStructure();
    argument >> event.id >> event.eventId >> event.data >> event.timestamp;
    argument.endStructure();
    return argument;
}

} // namespace Tolvane::DBusMenu

Q_DECLARE_METATYPE(Tolvane::DBusMenu::Layout)
Q_DECLARE_METATYPE(Tolvane::DBusMenu::Item)
Q_DECLARE_METATYPE(Tolvane::DBusMenu::Event)

namespace Tolvane {
namespace {

using DBusMenu::Layout;

// The com.canonical.dbusmenu interface over an exported menu.
class DBusMenuAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    Q_PROPERTY(uint Version READ version)
    Q_PROPERTY(QString TextDirection READ textDirection)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(QStringList IconThemePath READ iconThemePath)
public:
    explicit DBusMenuAdaptor(ExportedTrayMenu* menu) : QDBusAbstractAdaptor(menu), menu_(menu) {
        connect(menu, &ExportedTrayMenu::layoutUpdated, this, &DBusMenuAdaptor::LayoutUpdated);
    }

    uint version() const { return 3; }
    QString textDirection() const {
        return menu_->source()->layoutDirection() == Qt::RightToLeft ? QStringLiteral("rtl")
                                                                     : QStringLiteral("ltr");
    }
    QString status() const { return QStringLiteral("normal"); }
    QStringList iconThemePath() const { return {}; }

public slots:
    // Every property is sent whatever the host asks for; the interface allows that.
    uint GetLayout(int parentId, int recursionDepth, const QStringList&, Tolvane::DBusMenu::Layout& layout) {
        layout = layoutOf(parentId, recursionDepth);
        return menu_->revision();
    }
    QList<Tolvane::DBusMenu::Item> GetGroupProperties(const QList<int>& ids, const QStringList&) {
        QList<DBusMenu::Item> items;
        for (int id : ids)
            items << DBusMenu::Item{id, menu_->properties(id)};
        return items;
    }
    QDBusVariant GetProperty(int id, const QString& name) {
        return QDBusVariant(menu_->properties(id).value(name));
    }
    void Event(int id, const QString& eventId, const QDBusVariant&, uint) {
        if (eventId == QLatin1String("clicked"))
            menu_->activate(id);
    }
    QList<int> EventGroup(const QList<Tolvane::DBusMenu::Event>& events) {
        QList<int> unknown;
        for (const DBusMenu::Event& event : events) {
            if (event.eventId != QLatin1String("clicked"))
                continue;
            if (!menu_->activate(event.id))
                unknown << event.id;
        }
        return unknown;
    }
    // The menu is kept current as it changes, so opening it never needs an update first.
    bool AboutToShow(int) { return false; }
    QList<int> AboutToShowGroup(const QList<int>&, QList<int>& idErrors) {
        idErrors.clear();
        return {};
    }

signals:
    void LayoutUpdated(uint revision, int parent);
    void ItemActivationRequested(int id, uint timestamp);

private:
    Layout layoutOf(int id, int depth) const {
        Layout layout{id, menu_->properties(id), {}};
        if (depth == 0)
            return layout;
        for (int child : menu_->childIds(id))
            layout.children << QDBusVariant(QVariant::fromValue(layoutOf(child, depth - 1)));
        return layout;
    }

    ExportedTrayMenu* menu_;
};

void registerTypes() {
    static const bool registered = [] {
        qDBusRegisterMetaType<DBusMenu::Layout>();
        qDBusRegisterMetaType<DBusMenu::Item>();
        qDBusRegisterMetaType<QList<DBusMenu::Item>>();
        qDBusRegisterMetaType<DBusMenu::Event>();
        qDBusRegisterMetaType<QList<DBusMenu::Event>>();
        return true;
    }();
    Q_UNUSED(registered);
}

QByteArray pngOf(const QIcon& icon) {
    QByteArray png;
    if (icon.isNull())
        return png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    // Menus draw their icons at 16 pixels; the host scales for its own density.
    icon.pixmap(16, 16).toImage().save(&buffer, "PNG");
    return png;
}

} // namespace

ExportedTrayMenu::ExportedTrayMenu(QMenu* source, QObject* parent) : QObject(parent), source_(source) {
    registerTypes();
    new DBusMenuAdaptor(this);
    new MenuChanges(
        source_, [this] { changed(); }, this);
}

ExportedTrayMenu::~ExportedTrayMenu() {
    if (!path_.isEmpty())
        QDBusConnection::sessionBus().unregisterObject(path_);
}

bool ExportedTrayMenu::publish(const QString& path) {
    if (!QDBusConnection::sessionBus().registerObject(path, this, QDBusConnection::ExportAdaptors))
        return false;
    path_ = path;
    return true;
}

QString ExportedTrayMenu::dbusMenuLabel(const QString& text) {
    QString label;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == '&' && i + 1 < text.size()) {
            // "&&" is one ampersand; a lone "&" marks the next letter as the access key.
            if (text[++i] == '&') {
                label += '&';
                continue;
            }
            label += '_';
        }
        if (text[i] == '_')
            label += '_';
        label += text[i];
    }
    return label;
}

QVariantMap ExportedTrayMenu::properties(int id) const {
    if (id == 0)
        return {{QStringLiteral("children-display"), QStringLiteral("submenu")}};
    const QAction* action = actions_.value(id);
    if (!action)
        return {};
    QVariantMap properties;
    if (!action->isVisible())
        properties[QStringLiteral("visible")] = false;
    if (action->isSeparator()) {
        properties[QStringLiteral("type")] = QStringLiteral("separator");
        return properties;
    }
    properties[QStringLiteral("label")] = dbusMenuLabel(action->text());
    properties[QStringLiteral("enabled")] = action->isEnabled();
    if (const QByteArray png = pngOf(action->icon()); !png.isEmpty())
        properties[QStringLiteral("icon-data")] = png;
    return properties;
}

QList<int> ExportedTrayMenu::childIds(int id) {
    QList<int> children;
    if (id != 0)
        return children;
    for (QAction* action : source_->actions())
        children << idOf(action);
    return children;
}

bool ExportedTrayMenu::activate(int id) {
    QPointer<QAction> action = actions_.value(id);
    if (!action || action->isSeparator())
        return false;
    // After the reply: a row's click may replace the rows, this one included.
    QTimer::singleShot(0, this, [action] {
        if (action && action->isEnabled())
            action->trigger();
    });
    return true;
}

int ExportedTrayMenu::idOf(QAction* action) {
    if (const auto found = ids_.constFind(action); found != ids_.cend())
        return *found;
    const int id = nextId_++;
    ids_.insert(action, id);
    actions_.insert(id, action);
    connect(action, &QAction::changed, this, &ExportedTrayMenu::changed);
    connect(action, &QObject::destroyed, this, [this, action, id] {
        ids_.remove(action);
        actions_.remove(id);
    });
    return id;
}

void ExportedTrayMenu::changed() {
    if (queued_)
        return;
    queued_ = true;
    // One update for a burst of changes (a refresh replaces every row).
    QTimer::singleShot(0, this, [this] {
        queued_ = false;
        emit layoutUpdated(++revision_, 0);
    });
}

} // namespace Tolvane

#include "ExportedTrayMenu.moc"
