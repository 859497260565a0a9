#include "ExportedTrayMenu.h"

#include "MenuChanges.h"

#include <QMenu>

namespace Tolvane {
namespace {

// What a widget menu shows for an action text: "&&" is one ampersand, a lone "&" marks a mnemonic.
QString widgetMenuText(const QString& text) {
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        shown += text[i];
    }
    return shown;
}

// The action text that Qt's dbusmenu export turns into a label showing `shown` verbatim.
QString textShowing(const QString& shown) {
    // dbusmenu writes a literal underscore twice. Qt's export turns the first '&' into the
    // mnemonic underscore, so a label with an ampersand gets a leading one that marks its
    // first letter instead.
    QString label = shown;
    label.replace('_', QLatin1String("__"));
    return label.contains('&') ? '&' + label : label;
}

} // namespace

ExportedTrayMenu::ExportedTrayMenu(QMenu* source, QObject* parent)
    : QObject(parent), source_(source), menu_(new QMenu) {
    new MenuChanges(
        source_, [this] { rebuild(); }, this);
    rebuild();
}

ExportedTrayMenu::~ExportedTrayMenu() {
    delete menu_;
}

void ExportedTrayMenu::rebuild() {
    const QList<QAction*> old = menu_->actions();
    for (QAction* action : old) {
        menu_->removeAction(action);
        action->deleteLater();
    }
    for (QAction* original : source_->actions())
        menu_->addAction(mirror(original));
}

QAction* ExportedTrayMenu::mirror(QAction* original) {
    auto* copy = new QAction(menu_);
    const auto follow = [copy, original] {
        copy->setSeparator(original->isSeparator());
        copy->setText(textShowing(widgetMenuText(original->text())));
        copy->setIcon(original->icon());
        copy->setEnabled(original->isEnabled());
        copy->setVisible(original->isVisible());
    };
    follow();
    connect(original, &QAction::changed, copy, follow);
    connect(copy, &QAction::triggered, original, &QAction::trigger);
    return copy;
}

} // namespace Tolvane
