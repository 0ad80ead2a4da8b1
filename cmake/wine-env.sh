# Sourced by wine-run and test-session: the environment of one build's own
# Wine session. Everything lives below the state folder given as $1, so that
# no test touches the real home folder and two build folders never share a
# prefix or a wineserver.
state="$(mkdir -p "$1" && cd "$1" && pwd)"
export WINEPREFIX="$state/prefix"
export WINEARCH=win32
export HOME="$state/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
export WINEDEBUG="${WINEDEBUG:--all}"
# No desktop launchers for saved shortcuts, and no prompts for Mono or Gecko.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
# The ANSI code page 936, and Unix file names read as UTF-8.
export LC_ALL=zh_CN.UTF-8
# A Desktop folder of our own before the prefix exists; otherwise Wine links
# the user's desktop to $HOME itself.
mkdir -p "$HOME/Desktop"
# QUILLMERE_NO_DISPLAY=1 runs a program with no display at all.
if [ -s "$state/display" ] && [ "${QUILLMERE_NO_DISPLAY:-}" != 1 ]; then
  export DISPLAY="$(cat "$state/display")"
else
  unset DISPLAY
fi
