#!/bin/bash
# Songs for the end-to-end tests: steady tones, so the null sink's capture tells
# which one plays and how loud. Usage: make_test_songs.sh <out-dir>
set -euo pipefail
out="$1"
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

tone() {  # name seconds frequency
  sox -n -r 44100 -c 2 -b 16 "$tmp/t.wav" synth "$2" sine "$3" gain -6
  lame --quiet --noreplaygain -b 128 "$tmp/t.wav" "$out/$1"
}

tone "tone_440.mp3" 6 440
tone "tone_660.mp3" 3 660
tone "short_880.mp3" 2 880
tone "long_330.mp3" 30 330
tone "노래.mp3" 4 550
# One tone for its first 5 s and another after: which one sounds tells where it plays.
sox -n -r 44100 -c 2 -b 16 "$tmp/a.wav" synth 5 sine 300 gain -6
sox -n -r 44100 -c 2 -b 16 "$tmp/b.wav" synth 10 sine 700 gain -6
sox "$tmp/a.wav" "$tmp/b.wav" "$tmp/t.wav"
lame --quiet --noreplaygain -b 128 "$tmp/t.wav" "$out/two_tones.mp3"
printf 'not audio at all\n' >"$out/broken.mp3"
