#!/usr/bin/env bash
# screenshot.sh [OUT.png]: a picture of the installer's start window for the
# README, default docs/start-window.png. Runs the built installer in a Wine
# session and an X display of its own, inside Wine's virtual desktop: with no
# window manager on the display, that desktop is what draws the title bar and
# the frame, so the picture shows the window as a person would see it.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
exe="$root/dist/Quillmere-setup.exe"
title="Quillmere-配置包"
margin=8
desktop_size=800x500

out="${1:-$root/docs/start-window.png}"
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac

if [ ! -f "$exe" ]; then
  echo "screenshot: $exe is missing; build it first:" >&2
  echo "  cmake --preset default && cmake --build --preset default" >&2
  exit 1
fi
for tool in wine wineserver wineboot Xvfb xdotool xwininfo import convert; do
  command -v "$tool" >/dev/null || { echo "screenshot: $tool not found; run ./setup.sh" >&2; exit 1; }
done
# Wine draws the caption buttons with glyphs of its Marlett font; without it
# they come out as the letters 0, 1 and r.
marlett=/usr/share/wine/fonts/marlett.ttf
if [ ! -f "$marlett" ]; then
  echo "screenshot: warning: $marlett is missing (package fonts-wine); the title-bar buttons will show as letters" >&2
fi

state="$(mktemp -d "${TMPDIR:-/tmp}/quillmere-shot.XXXXXX")"
xvfb_pid=""
in_session=false
cleanup() {
  # wine-env.sh has set WINEPREFIX to this state's prefix, so only this
  # session's wineserver is told to end.
  if $in_session; then wineserver -k 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$state"
}
trap cleanup EXIT

# shellcheck source=SCRIPTDIR/../cmake/wine-env.sh
. "$root/cmake/wine-env.sh" "$state"
in_session=true

# The prefix is made before there is a display, so that its first-run
# messages never land in the picture.
wineboot -i >/dev/null 2>&1
wineserver -w
# Debian's Wine 8 never reads its own font folder, only the prefix's, so the
# one font the frame needs goes there.
[ -f "$marlett" ] && cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$state/display.fd" \
  </dev/null >"$state/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$state/display.fd" ] && break
  sleep 0.05
done
[ -s "$state/display.fd" ] || { echo "screenshot: Xvfb did not start" >&2; cat "$state/xvfb.log" >&2; exit 1; }
DISPLAY=":$(tr -d '\n' <"$state/display.fd")"
export DISPLAY

mkdir "$state/scratch"
cp "$exe" "$state/scratch/"
win_exe="$(winepath -w "$state/scratch/Quillmere-setup.exe" 2>/dev/null)"
(cd "$state/scratch" && exec wine explorer "/desktop=shot,$desktop_size" "$win_exe") \
  </dev/null >"$state/wine.log" 2>&1 &

window=""
for _ in $(seq 300); do
  window="$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1 || true)"
  [ -n "$window" ] && break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "screenshot: the start window did not appear within 30 s" >&2
  cat "$state/wine.log" >&2
  exit 1
fi

# Inside the virtual desktop the window's X window is its whole outer
# rectangle, title bar and frame included.
geometry() { xwininfo -id "$window" | sed -n "s/^ *$1: *\(-\?[0-9]*\)$/\1/p"; }
x="$(geometry 'Absolute upper-left X')"
y="$(geometry 'Absolute upper-left Y')"
w="$(geometry Width)"
h="$(geometry Height)"
crop="$((w + 2 * margin))x$((h + 2 * margin))+$((x - margin))+$((y - margin))"

# Shot after shot until two in a row agree: the window is mapped before its
# controls have all painted.
previous=""
for _ in $(seq 50); do
  sleep 0.2
  import -window root -crop "$crop" +repage "$state/shot.png"
  current="$(convert "$state/shot.png" rgb:- | md5sum)"
  [ "$current" = "$previous" ] && break
  previous="$current"
done
if [ "$current" != "$previous" ]; then
  echo "screenshot: the window kept changing; taking the last shot" >&2
fi

mkdir -p "$(dirname "$out")"
# No time stamps in the file, so that a rerun gives the same bytes.
convert "$state/shot.png" -strip -define png:exclude-chunks=date,time "$out"
echo "screenshot: $out (${w}x${h} window at +$x+$y, $margin px margin)"
