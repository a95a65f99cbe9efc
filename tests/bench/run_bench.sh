#!/bin/bash
# Builds the player and the bare baselines, then prints the benchmark figures.
# Usage: bash tests/bench/run_bench.sh [startup] [playing] [idle] [titles] [skin] [glyphs]   (all sections without arguments)
set -euo pipefail
cd "$(dirname "$0")/../.."
ROOT=$PWD
bash scripts/setup.sh >/dev/null
cmake --preset win >/dev/null
cmake --build --preset win -j2 --target TovelMusicBox bench_driver bench_bare_list bench_bare_play bench_skin bench_glyphs e2e_songs >/dev/null
source scripts/headless.sh
trap tovel_headless_stop EXIT
tovel_headless_start "$ROOT/build/win/bench-prefix"
export TOVEL_BENCH_SONG="$ROOT/build/win/bin/testdata/long_330.mp3"
cd build/win/bin
out=$(mktemp)
sections=("$@")
driver=()
for s in "${sections[@]}"; do [ "$s" != skin ] && [ "$s" != glyphs ] && driver+=("$s"); done
if [ ${#sections[@]} -eq 0 ] || [ ${#driver[@]} -gt 0 ]; then
  wine64 bench_driver.exe "${driver[@]}" >"$out" 2>&1 </dev/null || true
  grep -E '^(startup|playing|idle|titles|\(the)' "$out" || cat "$out"
fi
if [ ${#sections[@]} -eq 0 ] || printf '%s\n' "${sections[@]}" | grep -qx skin; then
  # The skin's own costs, measured inside one process.
  wine64 bench_skin.exe >"$out" 2>&1 </dev/null || true
  grep -E '^skin' "$out" || cat "$out"
fi
if [ ${#sections[@]} -eq 0 ] || printf '%s\n' "${sections[@]}" | grep -qx glyphs; then
  # A process of its own: the first picture decode loads the codecs once per process.
  wine64 bench_glyphs.exe >"$out" 2>&1 </dev/null || true
  grep -E '^glyphs' "$out" || cat "$out"
fi
rm -f "$out"
