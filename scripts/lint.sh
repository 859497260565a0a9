#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the formatting of every C++ file and runs the short clang-tidy list of .clang-tidy.
#   scripts/lint.sh [--all] [build dir]
# clang-tidy reads the build's compile_commands.json. By default it checks the code the command
# line runs on (Qt Core only: the catalogue, the command line and the Linux files it reads and
# writes); --all checks every translation unit of the project, which takes several minutes.
set -euo pipefail
cd "$(dirname "$0")/.."

all=false
if [ "${1:-}" = "--all" ]; then
  all=true
  shift
fi
build=${1:-build}

# The tree is formatted with Debian 12's clang-format (14); other releases format some lines
# differently, so there the check is left to a machine with that version (CI runs it).
format_version=$(clang-format --version | grep -o 'version [0-9]*' | grep -o '[0-9]*$' || true)
mapfile -t sources < <(git ls-files '*.cpp' '*.h' '*.c')
if [ "$format_version" = 14 ]; then
  if ! clang-format --dry-run --Werror "${sources[@]}"; then
    echo "lint: format the files above with clang-format -i" >&2
    exit 1
  fi
else
  echo "lint: clang-format $format_version is not the tree's (14); formatting not checked"
fi

# The list is kept passing with Debian 12's clang-tidy (14); later releases add findings of their own.
tidy_version=$(clang-tidy --version | grep -o 'version [0-9]*' | grep -o '[0-9]*$' || true)
if [ "$tidy_version" != 14 ]; then
  echo "lint: clang-tidy $tidy_version is not the tree's (14); its list is not run"
  exit 0
fi
if [ ! -f "$build/compile_commands.json" ]; then
  echo "lint: no $build/compile_commands.json; configure a build first (cmake --preset default)" >&2
  exit 1
fi
if $all; then
  mapfile -t units < <(git ls-files 'app/*.cpp' 'platform/*.cpp' 'GlobalKeys/*.cpp' 'StartAtLogin/*.cpp' \
    'feedback/*.cpp' 'AboutBox/*.cpp' 'TaskButtons/*.cpp')
else
  mapfile -t units < <(git ls-files 'app/core/*.cpp' 'app/cli/*.cpp' 'platform/linux/xdg/*.cpp' \
    'platform/linux/applications/*.cpp' 'platform/linux/defaults/*.cpp')
fi
printf '%s\n' "${units[@]}" | xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet 2>/dev/null
echo "lint: clean (${#units[@]} files checked by clang-tidy)"
