#!/usr/bin/env bash
# Runs one Windows executable under Wine on a virtual display and passes its exit code through.
# Usage: wine-run.sh PROGRAM.exe [ARGUMENTS...]
set -u
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

ensure_wine_prefix
ensure_display || exit 125
trap stop_started_display EXIT
start_wine_services
wine "$@"
