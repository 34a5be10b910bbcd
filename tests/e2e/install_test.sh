#!/usr/bin/env bash
# Installs the build in BUILD into a temporary prefix, as `cmake --install` does for a user, and
# checks the installed tree.
#   install_test.sh BUILD VERSION
set -euo pipefail
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" >/dev/null
"$(dirname "$0")/check_installed.sh" "$prefix" "$2"
