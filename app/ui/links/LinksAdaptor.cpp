// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinksAdaptor.h"

#include "LinkAsker.h"
#include "ShownText.h"
#include "app/core/links/WebLink.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QLoggingCategory>

namespace Tolvane {
namespace {

Q_LOGGING_CATEGORY(lcLinksBus, "app.tolvane.Tolvane.links")

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
    call.setDelayedReply(true);
    QDBusConnection bus = QDBusConnection::sessionBus();
    const auto refuse = [&](const QString& name, const QString& why) {
        bus.send(call.createErrorReply(name, why));
    };
    if (urls.isEmpty())
        return refuse(QString::fromLatin1(cannotAskError), tr("No link was given."));
    for (qsizetype i = 0; i < urls.size(); ++i) {
        // Whatever the bus brings reaches a browser's command line: only what it loads as a web page,
        // never a file, never an option.
        if (urls[i].startsWith(QLatin1Char('-')) || !isWebLink(urls[i]))
            return refuse(QDBusError::errorString(QDBusError::InvalidArgs),
                          tr("urls[%1] is not a web link: \u201c%2\u201d").arg(i).arg(shownText(urls[i])));
    }
    if (!canShowWindows())
        return refuse(QString::fromLatin1(cannotAskError),
                      tr("Tolvane runs without a display here and cannot ask which browser to use."));
    // A caller that stopped waiting has opened the links itself: taking them now would open them twice.
    if (call.isReplyRequired() && !call.service().isEmpty() &&
        !bus.interface()->isServiceRegistered(call.service())) {
        qCInfo(lcLinksBus, "Links not taken: their caller stopped waiting");
        return;
    }
    // From here the links are ours: the caller must not open them too.
    bus.send(call.createReply());
    asker_->ask(LinkRequest{urls, activationToken.toUtf8()});
}

} // namespace Tolvane
