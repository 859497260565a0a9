// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DefaultBrowser.h"

#include <QPalette>
#include <QWidget>

class QLabel;

namespace Tolvane {

// Icon, name and, when asked, " (version)" in the caption font: the row of a browser in menus and pickers.
class BrowserRowLabel : public QWidget {
    Q_OBJECT
public:
    BrowserRowLabel(const DefaultBrowser& browser, bool showVersion, QWidget* parent = nullptr);

    void setShowVersion(bool show);
    QString nameText() const;
    QString versionText() const; // empty when the version is hidden

    // The caption font: a step smaller than the given font.
    static QFont captionFont(const QFont& base);
    // The same row as one plain text, for places that draw menus themselves.
    static QString plainText(const DefaultBrowser& browser, bool showVersion);
    // "(version)", or nothing when no version is known: a row never reads "Name ()".
    static QString versionLabel(const DefaultBrowser& browser);
    // Draws name and caption version side by side in `rect`, for rows painted by hand; what does not
    // fit ends in "…".
    static void drawRow(QPainter* painter, const QRect& rect, const QFont& font, const QString& name,
                        const QString& version, const QPalette& palette, QPalette::ColorRole role);

private:
    QLabel* icon_;
    QLabel* name_;
    QLabel* version_;
};

} // namespace Tolvane
