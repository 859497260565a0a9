// SPDX-License-Identifier: GPL-3.0-or-later
// Entry point of the portal tests: a private session bus and a fixed keyboard layout before Qt starts,
// so the application's session bus connection and key names are the test's.
#include "support/PrivateBus.h"

#include <QApplication>

#include <gmock/gmock.h>

#include <cstdio>

int main(int argc, char** argv) {
    ::testing::InitGoogleMock(&argc, argv);
    // German: the key right of T prints "z", so key positions and key names cannot be confused.
    qputenv("XKB_DEFAULT_LAYOUT", "de");
    PrivateBus bus;
    if (!bus.running()) {
        std::fprintf(stderr, "cannot start a private session bus\n");
        return 1;
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
