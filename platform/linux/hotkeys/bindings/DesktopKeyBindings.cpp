// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopKeyBindings.h"

#include "platform/Paths.h"
#include "platform/linux/hotkeys/CarbonKeyTable.h"

#include <QFile>
#include <QKeySequence>
#include <QXmlStreamReader>

#include <map>

// GIO names a struct member after one of Qt's keywords.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")
#include <xkbcommon/xkbcommon.h>

namespace platform::linux_ {
namespace {

constexpr std::int64_t cmdKey = 0x100, shiftKey = 0x200, optionKey = 0x800, controlKey = 0x1000;

const char* const gnomeSchemas[] = {
    "org.gnome.desktop.wm.keybindings",
    "org.gnome.shell.keybindings",
    "org.gnome.mutter.keybindings",
    "org.gnome.mutter.wayland.keybindings",
    "org.gnome.settings-daemon.plugins.media-keys",
};

const char* const cinnamonSchemas[] = {
    "org.cinnamon.desktop.keybindings.wm",
    "org.cinnamon.desktop.keybindings.media-keys",
};

const char* const mateSchemas[] = {
    "org.mate.Marco.global-keybindings",
    "org.mate.Marco.window-keybindings",
    "org.mate.SettingsDaemon.plugins.media-keys",
};

SymbolicHotKey entry(std::int64_t code, std::int64_t modifiers) {
    return SymbolicHotKey{QVariant(true), QVariant(qlonglong(code)), QVariant(qlonglong(modifiers))};
}

std::optional<std::int64_t> carbonForKeyName(const QString& name) {
    xkb_keysym_t keysym = xkb_keysym_from_name(name.toUtf8().constData(), XKB_KEYSYM_NO_FLAGS);
    if (keysym == XKB_KEY_NoSymbol)
        keysym = xkb_keysym_from_name(name.toUtf8().constData(), XKB_KEYSYM_CASE_INSENSITIVE);
    if (keysym == XKB_KEY_NoSymbol)
        return std::nullopt;
    const auto key = carbonKeyByKeysym(keysym);
    return key ? std::optional<std::int64_t>(key->carbonKeyCode) : std::nullopt;
}

QStringList stringsOf(GVariant* value) {
    QStringList strings;
    if (g_variant_is_of_type(value, G_VARIANT_TYPE_STRING_ARRAY)) {
        gsize n = 0;
        const gchar** array = g_variant_get_strv(value, &n);
        for (gsize i = 0; i < n; ++i)
            strings << QString::fromUtf8(array[i]);
        g_free(array);
    } else if (g_variant_is_of_type(value, G_VARIANT_TYPE_STRING)) {
        strings << QString::fromUtf8(g_variant_get_string(value, nullptr));
    }
    return strings;
}

// The string (or string list) keys of one schema, at `path` for a relocatable one; `only` limits
// the keys read. Nothing when the schema is not installed.
QStringList readSchema(const char* id, const char* path = nullptr, const char* only = nullptr) {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* schema = source ? g_settings_schema_source_lookup(source, id, TRUE) : nullptr;
    if (!schema)
        return {};
    QStringList strings;
    GSettings* settings = g_settings_new_full(schema, nullptr, path);
    gchar** keys = g_settings_schema_list_keys(schema);
    for (gchar** key = keys; key && *key; ++key) {
        if (only && qstrcmp(*key, only) != 0)
            continue;
        GVariant* value = g_settings_get_value(settings, *key);
        strings << stringsOf(value);
        g_variant_unref(value);
    }
    g_strfreev(keys);
    g_object_unref(settings);
    g_settings_schema_unref(schema);
    return strings;
}

void addAccelerators(const QStringList& accelerators, std::vector<SymbolicHotKey>* out) {
    for (const QString& accelerator : accelerators)
        if (const auto parsed = DesktopKeyBindings::parseGnomeAccelerator(accelerator))
            out->push_back(*parsed);
}

// The user's own shortcuts: `listKey` of `listSchema` lists entries, each a settings path of the
// relocatable `bindingSchema` (given whole, or as a name under `under`) holding a "binding".
void readCustom(const char* listSchema, const char* listKey, const char* bindingSchema, const QString& under,
                std::vector<SymbolicHotKey>* out) {
    for (const QString& entry : readSchema(listSchema, nullptr, listKey)) {
        const QString path = under.isEmpty() ? entry : under + entry + '/';
        if (!entry.isEmpty() && path.startsWith('/') && path.endsWith('/') && path.count('/') > 2)
            addAccelerators(readSchema(bindingSchema, path.toUtf8().constData(), "binding"), out);
    }
}

void readGnome(std::vector<SymbolicHotKey>* out) {
    for (const char* id : gnomeSchemas)
        addAccelerators(readSchema(id), out);
    readCustom("org.gnome.settings-daemon.plugins.media-keys", "custom-keybindings",
               "org.gnome.settings-daemon.plugins.media-keys.custom-keybinding", QString(), out);
}

void readCinnamon(std::vector<SymbolicHotKey>* out) {
    for (const char* id : cinnamonSchemas)
        addAccelerators(readSchema(id), out);
    readCustom("org.cinnamon.desktop.keybindings", "custom-list",
               "org.cinnamon.desktop.keybindings.custom-keybinding",
               "/org/cinnamon/desktop/keybindings/custom-keybindings/", out);
}

void readMate(std::vector<SymbolicHotKey>* out) {
    for (const char* id : mateSchemas)
        addAccelerators(readSchema(id), out);
}

void readKde(std::vector<SymbolicHotKey>* out) {
    QFile kde(platform::configHome() + "/kglobalshortcutsrc");
    if (kde.open(QIODevice::ReadOnly))
        for (const QString& text : DesktopKeyBindings::kdeShortcutTexts(kde.readAll()))
            if (const auto parsed = DesktopKeyBindings::parseKdeShortcut(text))
                out->push_back(*parsed);
}

// Xfce keeps its shortcuts in an xfconf channel file: the user's, else the system's defaults.
void readXfce(std::vector<SymbolicHotKey>* out) {
    const QString relative = "/xfce4/xfconf/xfce-perchannel-xml/xfce4-keyboard-shortcuts.xml";
    QStringList candidates{platform::configHome() + relative};
    for (const QString& dir : platform::configDirs())
        candidates << dir + relative;
    for (const QString& path : candidates) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            addAccelerators(DesktopKeyBindings::xfceAccelerators(file.readAll()), out);
            return;
        }
    }
}

} // namespace

std::optional<SymbolicHotKey> DesktopKeyBindings::parseGnomeAccelerator(const QString& accelerator) {
    QString rest = accelerator.trimmed();
    std::int64_t modifiers = 0;
    while (rest.startsWith('<')) {
        const int close = rest.indexOf('>');
        if (close < 0)
            return std::nullopt;
        const QString modifier = rest.mid(1, close - 1).toLower();
        if (modifier == "super" || modifier == "meta" || modifier == "mod4")
            modifiers |= cmdKey;
        else if (modifier == "alt" || modifier == "mod1")
            modifiers |= optionKey;
        else if (modifier == "control" || modifier == "ctrl" || modifier == "primary" || modifier == "ctl")
            modifiers |= controlKey;
        else if (modifier == "shift")
            modifiers |= shiftKey;
        else if (modifier != "release")
            return std::nullopt; // e.g. Hyper: nothing a shortcut here can hold
        rest = rest.mid(close + 1);
    }
    if (rest.isEmpty())
        return std::nullopt;
    const auto code = carbonForKeyName(rest);
    return code ? std::optional(entry(*code, modifiers)) : std::nullopt;
}

std::optional<SymbolicHotKey> DesktopKeyBindings::parseKdeShortcut(const QString& shortcut) {
    const QString text = shortcut.trimmed();
    if (text.isEmpty() || text.compare("none", Qt::CaseInsensitive) == 0)
        return std::nullopt;
    const QKeySequence sequence = QKeySequence::fromString(text, QKeySequence::PortableText);
    if (sequence.count() != 1)
        return std::nullopt;
    const QKeyCombination combination = sequence[0];
    std::int64_t modifiers = 0;
    if (combination.keyboardModifiers() & Qt::MetaModifier)
        modifiers |= cmdKey;
    if (combination.keyboardModifiers() & Qt::AltModifier)
        modifiers |= optionKey;
    if (combination.keyboardModifiers() & Qt::ControlModifier)
        modifiers |= controlKey;
    if (combination.keyboardModifiers() & Qt::ShiftModifier)
        modifiers |= shiftKey;
    // The key's own name, as the portable text writes it, is also an X keysym name in most cases.
    QString keyName = QKeySequence(combination.key()).toString(QKeySequence::PortableText);
    static const QHash<QString, QString> renamed = {{"PgUp", "Prior"},
                                                    {"PgDown", "Next"},
                                                    {"Del", "Delete"},
                                                    {"Ins", "Insert"},
                                                    {"Esc", "Escape"},
                                                    {"Backspace", "BackSpace"},
                                                    {"Enter", "KP_Enter"},
                                                    {"Volume Up", "XF86AudioRaiseVolume"},
                                                    {"Volume Down", "XF86AudioLowerVolume"},
                                                    {"Volume Mute", "XF86AudioMute"}};
    keyName = renamed.value(keyName, keyName);
    std::optional<std::int64_t> code;
    if (keyName.size() == 1)
        if (const auto key = carbonKeyByKeysym(xkb_utf32_to_keysym(keyName[0].toLower().unicode())))
            code = key->carbonKeyCode;
    if (!code)
        code = carbonForKeyName(keyName);
    return code ? std::optional(entry(*code, modifiers)) : std::nullopt;
}

namespace {

// The first of the value's three fields, unescaped. Lists in that file escape a comma inside a field
// ("Meta+\\,"); hand-edited files may not, so a field ending in "+" takes the comma that follows it.
QString kdeCurrentField(const QString& value) {
    QStringList fields{QString()};
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == '\\' && i + 1 < value.size()) {
            const QChar next = value[++i];
            if (next == 't')
                fields.last() += '\t';
            else if (next == 's')
                fields.last() += ' ';
            else if (next == 'n')
                fields.last() += '\n';
            else if (next == ',' || next == '\\')
                fields.last() += next;
            else
                fields.last() += QString(c) + next;
        } else if (c == ',') {
            fields << QString();
        } else {
            fields.last() += c;
        }
    }
    QString current = fields.value(0);
    if (fields.size() > 3 && current.endsWith('+'))
        current += ',' + fields.value(1);
    return current;
}

} // namespace

QStringList DesktopKeyBindings::kdeShortcutTexts(const QByteArray& fileContent) {
    QStringList texts;
    for (const QByteArray& rawLine : fileContent.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith('#') || line.startsWith('['))
            continue;
        const int eq = line.indexOf('=');
        if (eq <= 0 || line.left(eq).trimmed() == "_k_friendly_name")
            continue;
        // value = current,default,description; the current field may hold several, tab-separated.
        for (const QString& part : kdeCurrentField(line.mid(eq + 1)).split('\t', Qt::SkipEmptyParts))
            texts << part;
    }
    return texts;
}

QStringList DesktopKeyBindings::xfceAccelerators(const QByteArray& channel) {
    // channel > property (commands, xfwm4) > property (default, custom) > property named by the
    // accelerator. A "custom" group replaces its "default" one.
    QXmlStreamReader xml(channel);
    QStringList names; // the property path while reading
    std::map<QString, std::map<QString, QStringList>> groups;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement && xml.name() == QLatin1String("property")) {
            names << xml.attributes().value(QLatin1String("name")).toString();
            if (names.size() == 3 && names[2] != QLatin1String("override"))
                groups[names[0]][names[1]] << names[2];
        } else if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("property")) {
            names.removeLast();
        }
    }
    QStringList accelerators;
    for (const auto& [group, sets] : groups) {
        const auto custom = sets.find(QStringLiteral("custom"));
        const auto chosen = custom != sets.end() ? custom : sets.find(QStringLiteral("default"));
        if (chosen != sets.end())
            accelerators << chosen->second;
    }
    return accelerators;
}

OSStatus DesktopKeyBindings::copySymbolicHotKeys(std::vector<SymbolicHotKey>* out) {
    out->clear();
    // The first desktop of XDG_CURRENT_DESKTOP whose bindings are known ("ubuntu:GNOME" is GNOME's).
    for (const QString& desktop : qEnvironmentVariable("XDG_CURRENT_DESKTOP").toLower().split(':')) {
        if (desktop == "gnome" || desktop == "unity" || desktop == "budgie" || desktop == "gnome-flashback")
            readGnome(out);
        else if (desktop == "kde")
            readKde(out);
        else if (desktop == "x-cinnamon" || desktop == "cinnamon")
            readCinnamon(out);
        else if (desktop == "mate")
            readMate(out);
        else if (desktop == "xfce")
            readXfce(out);
        else
            continue;
        break;
    }
    return noErr;
}

} // namespace platform::linux_
