#!/usr/bin/env bash
# try.sh [--clean]: tries the built installer the way a person would, without
# touching anything of yours: a fresh folder with the installer in it, a Wine
# session and an X display of its own, a real mouse click on 解压, then what
# it wrote and where the shortcut went. The folder is kept for you to look
# at (its path is printed at the end); --clean removes it instead.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
exe="$root/dist/Quillmere-setup.exe"
title="Quillmere-配置包"
# Where the button sits in the window's client area, and its size.
button_left=279 button_top=175 button_width=80 button_height=32
# The window's outer size; the X window is smaller when it is the client area.
outer_width=380 outer_height=250

clean=false
case "${1:-}" in
"") ;;
--clean) clean=true ;;
*) echo "usage: tools/try.sh [--clean]" >&2; exit 2 ;;
esac

if [ ! -f "$exe" ]; then
  echo "try: $exe is missing; build it first:" >&2
  echo "  ./setup.sh && cmake --preset default && cmake --build --preset default" >&2
  exit 1
fi
for tool in wine wineserver wineboot Xvfb xdotool xwininfo; do
  command -v "$tool" >/dev/null || { echo "try: $tool not found; run ./setup.sh" >&2; exit 1; }
done

work="$(mktemp -d "${TMPDIR:-/tmp}/quillmere-try.XXXXXX")"
folder="$work/folder"  # where the person put the installer
state="$work/wine"     # the Wine prefix and the home folder it sees
mkdir "$folder"
cp "$exe" "$folder/"

xvfb_pid=""
in_session=false
# shellcheck disable=SC2317  # run by the trap
cleanup() {
  # WINEPREFIX points into $state here, so only this session's wineserver and
  # the programs in it are ended.
  if $in_session; then wineserver -k 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  if $clean; then
    rm -rf "$work"
  else
    # The prefix is some 600 MB of Wine's own files; the folder and the
    # desktop are what is worth keeping.
    rm -rf "$state/prefix"
  fi
}
trap cleanup EXIT

# shellcheck source=SCRIPTDIR/../cmake/wine-env.sh
. "$root/cmake/wine-env.sh" "$state"
in_session=true

echo "try: making a Wine prefix in $WINEPREFIX"
# Before there is a display, so that no first-run window shows up in it.
wineboot -i >/dev/null 2>&1
wineserver -w

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" \
  </dev/null >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.05
done
[ -s "$work/display" ] || { echo "try: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
DISPLAY=":$(tr -d '\n' <"$work/display")"
export DISPLAY
rm -f "$work/display" "$work/xvfb.log"

echo "try: starting $folder/Quillmere-setup.exe on display $DISPLAY"
(cd "$folder" && exec wine Quillmere-setup.exe) </dev/null >"$work/wine.log" 2>&1 &
installer_pid=$!

window=""
for _ in $(seq 300); do
  window="$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1 || true)"
  [ -n "$window" ] && break
  kill -0 "$installer_pid" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "try: the window \"$title\" did not appear" >&2
  cat "$work/wine.log" >&2
  exit 1
fi

geometry() { xwininfo -id "$window" | sed -n "s/^ *$1: *\(-\?[0-9]*\)$/\1/p"; }
x="$(geometry 'Absolute upper-left X')"
y="$(geometry 'Absolute upper-left Y')"
w="$(geometry Width)"
h="$(geometry Height)"
# With no window manager on the display, Wine leaves the title bar and the
# frame to one that is not there: the X window is just the client area.
if [ "$w" -ge "$outer_width" ] || [ "$h" -ge "$outer_height" ]; then
  echo "try: the X window is ${w}x${h}, not the client area; cannot place the click" >&2
  exit 1
fi
click_x=$((x + button_left + button_width / 2))
click_y=$((y + button_top + button_height / 2))
echo "try: window \"$title\" up, client area ${w}x${h} at +$x+$y"
echo "try: clicking 解压 at ($click_x,$click_y)"
xdotool mousemove "$click_x" "$click_y" click 1

for _ in $(seq 600); do
  kill -0 "$installer_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$installer_pid" 2>/dev/null; then
  echo "try: the installer is still running 60 s after the click; windows on the display:" >&2
  xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null >&2 || true
  exit 1
fi
status=0
wait "$installer_pid" || status=$?
echo "try: the installer ended with exit code $status"

echo
echo "What it wrote beside itself, in $folder:"
LC_ALL=C.UTF-8 ls -l "$folder"

echo
desktop_win="$(wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' /v Desktop 2>/dev/null |
  tr -d '\r' | sed -n 's/^ *Desktop *REG_SZ *//p')"
shortcut="$HOME/Desktop/Quillmere.lnk"
if [ -f "$shortcut" ]; then
  echo "The shortcut, on the Wine user's desktop (${desktop_win:-?} in Windows):"
  LC_ALL=C.UTF-8 ls -l "$shortcut"
  echo "  Windows path: ${desktop_win:-?}\\Quillmere.lnk"
else
  echo "No Quillmere.lnk on the Wine user's desktop ($HOME/Desktop, ${desktop_win:-?} in Windows)."
  found="$(find "$state" -name Quillmere.lnk 2>/dev/null || true)"
  [ -n "$found" ] && echo "Found elsewhere: $found"
fi

echo
if $clean; then
  echo "try: --clean: removing $work"
else
  echo "try: kept $work (the installer's folder and the Wine user's desktop; the Wine prefix is removed)"
  echo "try: remove it with: rm -rf '$work'"
fi
exit "$status"
