// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinksAdaptor.h"

#include "LinkAsker.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QGuiApplication>

namespace Tolvane {
namespace {

// A service the bus started without a display draws into nothing: a picker there would hold the
// links where nobody sees them.
bool canShowWindows() {
    const QString platform = QGuiApplication::platformName();
    return !platform.isEmpty() && platform != QLatin1String("offscreen") &&
           platform != QLatin1String("minimal");
}

} // namespace

LinksAdaptor::LinksAdaptor(QObject* registered)
    : QDBusAbstractAdaptor(registered), asker_(new LinkAsker(this)) {
    // A call's own window may be answered long after the call: that still counts as use.
    connect(asker_, &LinkAsker::activity, this, &LinksAdaptor::activity);
}

void LinksAdaptor::Ask(const QStringList& urls, const QString& activationToken, const QDBusMessage& call) {
    emit activity();
    const auto refuse = [&call](const QString& why) {
        call.setDelayedReply(true);
        QDBusConnection::sessionBus().send(call.createErrorReply(QString::fromLatin1(cannotAskError), why));
    };
    if (urls.isEmpty())
        return refuse(tr("No link was given."));
    if (!canShowWindows())
        return refuse(tr("Tolvane runs without a display here and cannot ask which browser to use."));
    asker_->ask(LinkRequest{urls, activationToken.toUtf8()});
}

} // namespace Tolvane
