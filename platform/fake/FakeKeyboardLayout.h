// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/KeyboardLayout.h"

#include <map>

namespace platform::fake {

// A layout given as a table; native key codes are Carbon key codes plus `nativeOffset`.
class FakeKeyboardLayout : public KeyboardLayout {
public:
    std::map<std::uint16_t, QString> characters;
    bool available = true;
    std::uint32_t nativeOffset = 0;
    int lookups = 0;

    std::optional<QString> characterForKey(std::uint16_t carbonKeyCode) override {
        ++lookups;
        if (!available)
            return std::nullopt;
        const auto it = characters.find(carbonKeyCode);
        return it == characters.end() ? std::nullopt : std::optional<QString>(it->second);
    }
    std::optional<std::int64_t> carbonKeyCode(std::uint32_t nativeKeyCode) override {
        if (nativeKeyCode < nativeOffset)
            return std::nullopt;
        return std::int64_t(nativeKeyCode - nativeOffset);
    }

    // The letters and digits of a US layout.
    static std::map<std::uint16_t, QString> usLetters() {
        return {{0, "a"},  {11, "b"}, {8, "c"},  {2, "d"},  {14, "e"}, {3, "f"},  {5, "g"},  {4, "h"},
                {34, "i"}, {38, "j"}, {40, "k"}, {37, "l"}, {46, "m"}, {45, "n"}, {31, "o"}, {35, "p"},
                {12, "q"}, {15, "r"}, {1, "s"},  {17, "t"}, {32, "u"}, {9, "v"},  {13, "w"}, {7, "x"},
                {16, "y"}, {6, "z"},  {29, "0"}, {18, "1"}, {19, "2"}, {20, "3"}, {21, "4"}, {23, "5"},
                {22, "6"}, {26, "7"}, {28, "8"}, {25, "9"}, {27, "-"}, {24, "="}, {50, "`"}};
    }
};

} // namespace platform::fake
