#!/usr/bin/env bash
# Two clean `make dist` runs of the checked-out commit, from clones in two different folders, at
# two times, in two time zones and under two umasks, must give the same release byte for byte:
# the archives, the setup program, the bill of materials and the sums.
# Usage: reproducible_release_test.sh [WORK_FOLDER]   (default: build/reproducible)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=${1:-$root/build/reproducible}
commit=$(git -C "$root" rev-parse HEAD)
trees=("$work/first/calculate-checksums" "$work/second/somewhere/deeper/other-name")
zones=(UTC Pacific/Kiritimati)
umasks=(022 077)

rm -rf "$work"
for i in 0 1; do
  git clone --quiet --no-checkout "$root" "${trees[$i]}"
  git -C "${trees[$i]}" checkout --quiet --detach "$commit"
  start=$SECONDS
  (cd "${trees[$i]}" && umask "${umasks[$i]}" && TZ=${zones[$i]} make dist >make-dist.log 2>&1) || {
    tail -40 "${trees[$i]}/make-dist.log"
    echo "reproducible release: make dist failed in ${trees[$i]}"
    exit 1
  }
  echo "reproducible release: make dist in ${trees[$i]} took $((SECONDS - start)) s"
done

status=0
for archive in "${trees[0]}"/build/dist/*; do
  name=$(basename "$archive")
  if cmp "$archive" "${trees[1]}/build/dist/$name"; then
    echo "reproducible release: $name is the same in both trees ($(stat -c %s "$archive") bytes)"
  else
    echo "reproducible release: $name differs between the two trees"
    status=1
  fi
done
[[ $(ls "${trees[0]}"/build/dist/*.zip | wc -l) -eq 2 ]] || status=1
[[ $(ls "${trees[0]}"/build/dist/*-setup.exe | wc -l) -eq 1 ]] || status=1
[[ $(ls "${trees[0]}"/build/dist | wc -l) -eq $(ls "${trees[1]}"/build/dist | wc -l) ]] || status=1
# The trees are kept for a look when they differ.
[[ $status -eq 0 ]] && rm -rf "$work"
exit $status
