# Sourced by run.sh: the build figures, added to its table with row().
#   build_figures ROOT WORK REPS
# Clean configure+build of the installer against the same of the minimal
# window, then touch-and-rebuild of one payload file, in a copy of the
# working tree under WORK: the installer's build writes dist/ inside its
# source tree, and the repository's payload stays untouched.

# now: seconds since the epoch, with the nanoseconds.
now() { date +%s.%N; }

# clean_build SOURCE BINARY TARGET: configures a fresh BINARY folder with the
# default preset and builds TARGET; prints the seconds it took.
clean_build() {
  local start
  rm -rf "$2"
  start=$(now)
  cmake -S "$1" --preset default -B "$2" >>"$log" 2>&1 || return 1
  cmake --build "$2" --target "$3" >>"$log" 2>&1 || return 1
  awk -v a="$start" -v b="$(now)" 'BEGIN { printf "%.3f", b - a }'
}

build_figures() {
  local root=$1 work=$2 reps=$3 source="$2/source" i product baseline
  rm -rf "$work"
  mkdir -p "$source"
  if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git -C "$root" ls-files -z -co --exclude-standard |
      while IFS= read -r -d '' file; do [ -e "$root/$file" ] && printf '%s\0' "$file"; done |
      (cd "$root" && tar --null -T - -cf -) | tar -xf - -C "$source"
  else
    tar -C "$root" --exclude=./build --exclude=./dist --exclude=./.git -cf - . | tar -xf - -C "$source"
  fi

  : >"$work/clean.txt"
  for ((i = 0; i < reps; ++i)); do
    # Alternating which goes first; the installer's folder is left built.
    if ((i % 2 == 0)); then
      baseline=$(clean_build "$source" "$work/baseline" bench_window) || fail "clean build of the minimal window failed"
      product=$(clean_build "$source" "$work/product" quillmere_setup) || fail "clean build of the installer failed"
    else
      product=$(clean_build "$source" "$work/product" quillmere_setup) || fail "clean build of the installer failed"
      baseline=$(clean_build "$source" "$work/baseline" bench_window) || fail "clean build of the minimal window failed"
    fi
    echo "rep $product $baseline" >>"$work/clean.txt"
  done
  summary 1 2 ratio <"$work/clean.txt"
  local clean_median=$med_a
  row 6 "Clean configure + build in a fresh folder (n=$count)" "$(printf '%.1f s (%.1f–%.1f)' "$med_a" "$lo_a" "$hi_a")" \
    "$(printf '%.1f s (%.1f–%.1f) (minimal window)' "$med_b" "$lo_b" "$hi_b")" "$(ratio "$med_r" "$lo_r" "$hi_r")" "—" "—"

  # Each rebuild after a touch of one database file: what ninja compiles
  # ("Building ... object") and links, and how long it takes.
  local start output compiled links first objects="" steady=yes
  : >"$work/rebuild.txt"
  for ((i = 0; i < reps; ++i)); do
    touch "$source/payload/定期存款.edb"
    start=$(now)
    output=$(cmake --build "$work/product" --target quillmere_setup 2>&1) || fail "rebuild failed: $output"
    echo "rep $(awk -v a="$start" -v b="$(now)" 'BEGIN { printf "%.3f", b - a }') $clean_median" >>"$work/rebuild.txt"
    compiled=$(grep -cE '^\[[0-9]+/[0-9]+\] Building [A-Za-z]+ object' <<<"$output" || true)
    links=$(grep -cE '^\[[0-9]+/[0-9]+\] Linking' <<<"$output" || true)
    [ -n "$objects" ] || objects=$(sed -nE 's|^\[[0-9]+/[0-9]+\] Building [A-Za-z]+ object .*/||p' <<<"$output" | paste -sd, -)
    [ "$i" -eq 0 ] && first="$compiled $links"
    [ "$compiled $links" = "$first" ] || steady=no
  done
  summary 1 2 ratio <"$work/rebuild.txt"
  read -r compiled links <<<"$first"
  local verdict="**no**"
  [ "$compiled" = 1 ] && [ "$steady" = yes ] && [[ "$objects" == *payload_blocks.S.obj ]] && verdict=yes
  row 6 "Rebuild after touching 定期存款.edb (n=$count)" \
    "$compiled object compiled ($objects), $links link steps; $(printf '%.2f s (%.2f–%.2f)' "$med_a" "$lo_a" "$hi_a")" \
    "$(printf '%.1f s' "$clean_median") (clean build above)" "$(ratio "$med_r" "$lo_r" "$hi_r")" \
    "only the payload object, then relink" "$verdict"
}
