// SPDX-License-Identifier: GPL-3.0-or-later
#include "XkbNamesKeyboardLayout.h"

#include "platform/linux/hotkeys/XkbKeyText.h"

#include <QFile>
#include <QLoggingCategory>
#include <QRegularExpression>

#include <xkbcommon/xkbcommon.h>

Q_DECLARE_LOGGING_CATEGORY(lcX11Keys)

namespace platform::linux_ {
namespace {

// KEY="value" lines of the system keyboard configuration (the file the console and most Wayland
// sessions start from).
QByteArray systemKeyboardValue(const QByteArray& text, const char* key) {
    static const QRegularExpression line(QStringLiteral("^\\s*(\\w+)\\s*=\\s*\"?([^\"\\n]*)\"?\\s*$"),
                                         QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(QString::fromUtf8(text)); it.hasNext();) {
        const auto match = it.next();
        if (match.captured(1) == QLatin1String(key))
            return match.captured(2).trimmed().toUtf8();
    }
    return {};
}

} // namespace

XkbNamesKeyboardLayout::~XkbNamesKeyboardLayout() {
    if (keymap_)
        xkb_keymap_unref(keymap_);
    if (context_)
        xkb_context_unref(context_);
}

xkb_keymap* XkbNamesKeyboardLayout::keymap() {
    if (keymap_ || failed_)
        return keymap_;
    context_ = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    xkb_rule_names names{};
    // Empty fields take XKB_DEFAULT_* from the environment, then xkbcommon's built-in defaults.
    QByteArray model, layout, variant, options;
    if (qEnvironmentVariableIsEmpty("XKB_DEFAULT_LAYOUT")) {
        QFile file(QStringLiteral("/etc/default/keyboard"));
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray text = file.readAll();
            model = systemKeyboardValue(text, "XKBMODEL");
            layout = systemKeyboardValue(text, "XKBLAYOUT");
            variant = systemKeyboardValue(text, "XKBVARIANT");
            options = systemKeyboardValue(text, "XKBOPTIONS");
        }
    }
    if (!layout.isEmpty()) {
        names.model = model.isEmpty() ? nullptr : model.constData();
        names.layout = layout.constData();
        names.variant = variant.isEmpty() ? nullptr : variant.constData();
        names.options = options.isEmpty() ? nullptr : options.constData();
    }
    keymap_ = context_ ? xkb_keymap_new_from_names(context_, &names, XKB_KEYMAP_COMPILE_NO_FLAGS) : nullptr;
    if (!keymap_) {
        failed_ = true;
        qCWarning(lcX11Keys).noquote()
            << "cannot compile a keyboard layout for" << (layout.isEmpty() ? "the defaults" : layout)
            << "; key names are unavailable";
    }
    return keymap_;
}

std::optional<QString> XkbNamesKeyboardLayout::characterForKey(std::uint16_t carbonKeyCode) {
    return keyText(keymap(), carbonKeyCode, 0);
}

std::optional<std::int64_t> XkbNamesKeyboardLayout::carbonKeyCode(std::uint32_t nativeKeyCode) {
    return carbonKeyCodeOf(keymap(), nativeKeyCode);
}

QString XkbNamesKeyboardLayout::keysymName(std::uint16_t carbonKeyCode) {
    return linux_::keysymName(keymap(), carbonKeyCode);
}

} // namespace platform::linux_
