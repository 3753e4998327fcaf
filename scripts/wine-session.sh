#!/usr/bin/env bash
# Runs a command (a ctest run, say) inside one Wine session: one virtual display and one
# persistent wineserver for all the Windows programs it starts, both gone when it ends.
# Usage: wine-session.sh COMMAND [ARGUMENTS...]
set -u
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

ensure_wine_prefix
ensure_display || exit 125
stop_session() {
  "$WINESERVER" -k 2>/dev/null
  "$WINESERVER" -w 2>/dev/null
  stop_started_display
}
trap stop_session EXIT
"$WINESERVER" -p
start_wine_services
"$@"
