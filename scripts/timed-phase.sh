#!/usr/bin/env bash
# Runs one phase of a make target and, when PHASE_LOG names a file, appends the phase's name and
# its time in seconds there, so that a long run can say where its time went.
# Usage: timed-phase.sh NAME COMMAND [ARGUMENTS...]
name=$1
shift
started=$(date +%s%N)
"$@"
status=$?
if [[ -n "${PHASE_LOG:-}" ]]; then
  printf '%-22s %5d s%s\n' "$name" $((($(date +%s%N) - started) / 1000000000)) \
    "$([[ $status -eq 0 ]] || echo " (failed: $status)")" >>"$PHASE_LOG"
fi
exit $status
