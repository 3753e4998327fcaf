#!/usr/bin/env bash
# A start that cannot make its window ends the process with exit code 1 instead of running on
# unseen. Under Wine a process that cannot reach the display can make no window. Meanwhile a
# window shown on the display holds the session's desktop there, so that only the program under
# test goes without.
# Usage: failed_start_test.sh CHECKSUMS.EXE SHOW-WINDOW.EXE
set -u
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh"
program=$1
reader=$2

coproc READER { wine "$reader" "$program" 2>/dev/null; }
while IFS= read -r line <&"${READER[0]}"; do
  [[ "${line%$'\r'}" == END ]] && break
done
env -u DISPLAY timeout 30 wine "$program" </dev/null >/dev/null 2>&1
status=$?
{ echo >&"${READER[1]}"; } 2>/dev/null
wait "$READER_PID"

echo "exit code of a start without a display: $status"
[[ $status -eq 1 ]]
