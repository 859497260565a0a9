// SPDX-License-Identifier: GPL-3.0-or-later
// A browser's first window as the compositor sees it: it asks for the focus with the activation token
// it was started with (Qt reads XDG_ACTIVATION_TOKEN), so the compositor says whether the token holds.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    // Named by the caller, so the compositor's log tells whose window it is.
    window.setWindowTitle(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("Browser window"));
    window.resize(320, 200);
    window.show();
    window.activateWindow();
    QTimer::singleShot(30000, &app, &QApplication::quit);
    return app.exec();
}
