// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <memory>

class QIcon;

namespace platform {

// An application's icon as a value that code without a display can hold and pass on (there it
// stays empty); only code that draws turns it into a QIcon, so the rest needs no GUI library.
// Copies share one image and compare equal by it, as shared images do.
class AppIcon {
public:
    AppIcon() = default;
    AppIcon(const QIcon& icon); // implicit: an icon goes wherever an AppIcon is wanted
    operator QIcon() const;     // a null icon when empty

    bool isNull() const { return !icon_; }
    friend bool operator==(const AppIcon& a, const AppIcon& b) { return a.key_ == b.key_; }

private:
    std::shared_ptr<const QIcon> icon_;
    qint64 key_ = 0; // the icon's cache key: equal for copies of one image
};

} // namespace platform
