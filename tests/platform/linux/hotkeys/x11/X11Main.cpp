// SPDX-License-Identifier: GPL-3.0-or-later
// Entry point of the end-to-end tests: starts a private X server, then runs Qt on it through xcb.
#include "support/XServer.h"

#include <QApplication>

#include <gmock/gmock.h>

#include <cstdio>

XServer* testXServer = nullptr;

int main(int argc, char** argv) {
    ::testing::InitGoogleMock(&argc, argv);
    XServer server;
    if (!server.isRunning()) {
        std::fprintf(stderr, "cannot start the test X server: %s\n", qPrintable(server.error()));
        return 1;
    }
    // Before QApplication: Qt picks its platform and display when it is created.
    server.exportToEnvironment();
    testXServer = &server;
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
