#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is needed, builds everything (warnings are errors), checks formatting and the short
# clang-tidy list, and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/bootstrap.sh
cmake --preset default -DTOLVANE_WERROR=ON
cmake --build --preset default -j"$(nproc)"
scripts/lint.sh
ctest --preset default -j"$(nproc)" "$@"
