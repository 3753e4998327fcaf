#!/usr/bin/env bash
# Shows the checksum window for FILE (optional).
# With a display, the window opens as usual. Without one, the program runs on a virtual display;
# once its report is shown, a helper reads the live window and prints its title, fields and
# status text, a screenshot goes to build/window.png, and the window is closed. Either way the
# program's exit code is passed on.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
program="$WINE_ROOT/build/win64/checksums.exe"
reader="$WINE_ROOT/build/win64/show-window.exe"
screenshot="$WINE_ROOT/build/window.png"

file=${1:-}
ensure_wine_prefix
windows_path=
if [[ -n "$file" ]]; then
  windows_path=$(wine winepath -w "$(realpath -m -- "$file")" 2>/dev/null | tr -d '\r')
fi

if [[ -n "${DISPLAY:-}" ]]; then
  wine "$program" ${windows_path:+"$windows_path"}
  exit
fi

start_wine_session || exit 125

coproc READER { wine "$reader" "$program" "$windows_path" 2>/dev/null; }
reader_pid=$READER_PID
reader_input=${READER[1]}
frame=
while IFS= read -r line <&"${READER[0]}"; do
  line=${line%$'\r'}
  case "$line" in
    END) break ;;
    Frame:*) frame=${line#Frame: } ;;
    *) printf '%s\n' "$line" ;;
  esac
done
if [[ -n "$frame" ]]; then
  import -window root -crop "$frame" +repage "$screenshot" && echo "Screenshot: $screenshot"
fi
{ echo >&"$reader_input"; } 2>/dev/null
wait "$reader_pid"
