#!/usr/bin/env bash
# Runs a command (a ctest run, say) inside one Wine session: one virtual display and one
# persistent wineserver for all the Windows programs it starts, both gone when it ends.
# Usage: wine-session.sh COMMAND [ARGUMENTS...]
set -u
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

ensure_wine_prefix
start_wine_session || exit 125
"$@"
