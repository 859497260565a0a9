// SPDX-License-Identifier: GPL-3.0-or-later
// Entry point of every test program: a QApplication (offscreen unless told otherwise) and GoogleTest.
#include <QApplication>

#include <gmock/gmock.h>

// System libraries keep process-wide caches they never free (fonts, GLib's XDG and type caches,
// the D-Bus client); the leak checker of sanitizer builds is told so, our own allocations stay checked.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libglib-2.0.so\n"
           "leak:libgio-2.0.so\n"
           "leak:libgobject-2.0.so\n"
           "leak:libfontconfig.so\n"
           "leak:libdbus-1.so\n";
}

int main(int argc, char** argv) {
    ::testing::InitGoogleMock(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
