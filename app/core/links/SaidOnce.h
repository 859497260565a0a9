// SPDX-License-Identifier: GPL-3.0-or-later
// What the router tells the user once per reason: a link is never held up for it, and a rules file
// that stays broken does not say so at every click.
#pragma once

#include <QString>

namespace Tolvane::links {

class SaidOnce {
public:
    // <config home>/tolvane/links.said
    explicit SaidOnce(QString path = defaultPath());
    static QString defaultPath();

    // Whether `why` has been said already.
    bool said(const QString& why) const;
    // Records `why` as said; call once the user was really told.
    void remember(const QString& why);

private:
    QString path_;
};

} // namespace Tolvane::links
