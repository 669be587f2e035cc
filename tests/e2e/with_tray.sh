#!/usr/bin/env bash
# Runs a command on a fresh Xvfb display with trayer as the notification area.
set -euo pipefail
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  trayer --edge top --align right --widthtype pixel --width 200 --height 32 >/dev/null 2>&1 &
  tray=$!
  trap "kill $tray 2>/dev/null" EXIT
  "$@"
' with_tray "$@"
