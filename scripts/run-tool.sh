#!/usr/bin/env bash
# Starts the Windows program under Wine with the given file.
set -u
exec "$(dirname "${BASH_SOURCE[0]}")/wine-run.sh" "$(dirname "${BASH_SOURCE[0]}")/../build/win64/checksums.exe" "$@"
