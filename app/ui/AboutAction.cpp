// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutAction.h"

#include "Assets.h"

#include <AboutBox/AboutBoxPanel.h>

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QPalette>

namespace Tolvane {

namespace {
const QUrl makerWebsite(QStringLiteral("https://tolvane.app"));
Q_LOGGING_CATEGORY(lcAboutBox, "app.tolvane.Tolvane.AboutBox")
} // namespace

AboutBox::AppMetadata aboutMetadata() {
    AboutBox::AppMetadata metadata;
    metadata.icon = Assets::applicationIcon();
    metadata.iconSize = 80;
    // The application's information always carries these; an empty line is the fallback.
    metadata.name = AboutBox::bundleName().value_or(QString());
    metadata.versionText = AboutBox::bundleVersionText().value_or(QString());
    metadata.altVersionText = AboutBox::bundleAltVersionText().value_or(metadata.versionText);
    metadata.copyrightText = AboutBox::bundleCopyrightText().value_or(QString());
    metadata.url = makerWebsite;
    metadata.urlColor = Assets::color(QStringLiteral("AccentColor"))
                            .value_or(QGuiApplication::palette().color(QPalette::Link));
    metadata.logCategory = lcAboutBox;
    return metadata;
}

void showAboutPanel() {
    auto* panel = new AboutBox::AboutBoxPanel(aboutMetadata());
    panel->show();
    panel->raise();
    panel->activateWindow();
}

} // namespace Tolvane
