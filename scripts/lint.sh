#!/usr/bin/env bash
# Checks the formatting of every C++ file and runs the short clang-tidy list of .clang-tidy over the
# sources a build compiles. Needs a configured build (compile_commands.json) for clang-tidy.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t sources < <(git ls-files '*.cpp' '*.h' '*.c')
if ! clang-format --dry-run --Werror "${sources[@]}"; then
  echo "lint: format the files above with clang-format -i" >&2
  exit 1
fi

build=${1:-build}
if [ ! -f "$build/compile_commands.json" ]; then
  echo "lint: no $build/compile_commands.json; configure a build first (cmake --preset default)" >&2
  exit 1
fi
# The project's own translation units (not generated ones, not the test doubles' headers alone).
mapfile -t units < <(git ls-files 'app/*.cpp' 'platform/*.cpp' 'GlobalKeys/*.cpp' 'StartAtLogin/*.cpp' \
  'feedback/*.cpp' 'AboutBox/*.cpp' 'TaskButtons/*.cpp')
jobs=$(nproc)
printf '%s\n' "${units[@]}" | xargs -P "$jobs" -n 8 clang-tidy -p "$build" --quiet 2>/dev/null
echo "lint: clean"
