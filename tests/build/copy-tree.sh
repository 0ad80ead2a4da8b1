# shellcheck shell=bash
# Sourced by the build tests: copy_tree REPO DEST copies the working tree as
# it is now, uncommitted edits and new files included, but none of the
# build's output; so a test builds what is being worked on, not the last
# commit, and never writes into the tree it was started from.
copy_tree() {
  local repo="$1" dest="$2"
  mkdir -p "$dest"
  if command -v git >/dev/null && git -c safe.directory="$repo" -C "$repo" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    # Files deleted but not yet staged are listed too; they are skipped.
    (cd "$repo" && git -c safe.directory="$repo" ls-files -z --cached --others --exclude-standard |
      while IFS= read -r -d '' f; do [ -f "$f" ] && printf '%s\0' "$f"; done |
      xargs -0 -r cp --parents -t "$dest")
  else
    tar -C "$repo" --exclude=./build --exclude=./dist --exclude=./.git -cf - . | tar -C "$dest" -xf -
  fi
}
