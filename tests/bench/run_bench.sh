#!/bin/bash
# Builds the player and the bare baselines, then prints the benchmark figures.
# Usage: bash tests/bench/run_bench.sh [startup] [playing] [idle]   (all sections without arguments)
set -euo pipefail
cd "$(dirname "$0")/../.."
ROOT=$PWD
bash scripts/setup.sh >/dev/null
cmake --preset win >/dev/null
cmake --build --preset win -j2 --target TovelMusicBox bench_driver bench_bare_list bench_bare_play e2e_songs >/dev/null
source scripts/headless.sh
trap tovel_headless_stop EXIT
tovel_headless_start "$ROOT/build/win/bench-prefix"
export TOVEL_BENCH_SONG="$ROOT/build/win/bin/testdata/long_330.mp3"
cd build/win/bin
out=$(mktemp)
wine64 bench_driver.exe "$@" >"$out" 2>&1 </dev/null || true
grep -E '^(startup|playing|idle|\(the)' "$out" || cat "$out"
rm -f "$out"
