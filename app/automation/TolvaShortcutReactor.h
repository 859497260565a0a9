// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

namespace GlobalKeys {
class Name;
}

namespace Tolvane {

// Makes the stored toggle browser the default each time the "toggleSystemBrowserKeys" shortcut is
// released. The shortcut is registered only while the "Change browser" setting is on, whoever changes
// that setting: switched off, the key goes back to the desktop and other programs.
class TolvaShortcutReactor : public QObject {
    Q_OBJECT
public:
    explicit TolvaShortcutReactor(QObject* parent = nullptr);

    static const GlobalKeys::Name& toggleSystemBrowserKeys();
    // The key-up action; reads the settings and the browser list afresh each time, and does nothing
    // while the feature is off.
    static void toggleBrowser();

private:
    void followSetting();
};

} // namespace Tolvane
