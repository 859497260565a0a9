#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is needed, builds everything (warnings are errors), checks formatting and the short
# clang-tidy list, runs the whole test suite, then the threaded tests under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/bootstrap.sh
cmake --preset default -DTOLVANE_WERROR=ON
cmake --build --preset default -j"$(nproc)"
scripts/lint.sh
ctest --preset default -j"$(nproc)" "$@"

# The tests whose threads meet through locks ThreadSanitizer can see, again under it: the preset
# builds only their targets, in a build folder of its own.
cmake --preset tsan -DTOLVANE_WERROR=ON
cmake --build --preset tsan -j"$(nproc)"
ctest --preset tsan -j"$(nproc)"
