#pragma once

#include <QObject>

namespace GlobalKeys {
class Name;
}

namespace Tolvane {

// Makes the stored toggle browser the default each time the "toggleSystemBrowserKeys" shortcut is released.
class TolvaShortcutReactor : public QObject {
    Q_OBJECT
public:
    explicit TolvaShortcutReactor(QObject* parent = nullptr);

    static const GlobalKeys::Name& toggleSystemBrowserKeys();
    // The key-up action; reads the settings and the browser list afresh each time.
    static void toggleBrowser();
};

} // namespace Tolvane
