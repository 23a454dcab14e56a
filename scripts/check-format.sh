#!/bin/bash
# Checks that every C and C++ file of the repository is in the project's one
# format (.clang-format); a file that differs fails the check, and
# `clang-format-14 -i FILE` puts it into the format.
set -euo pipefail
cd "$(dirname "$0")/.."

git ls-files -z '*.c' '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run --Werror
