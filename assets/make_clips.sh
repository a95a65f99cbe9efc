#!/usr/bin/env bash
# Synthesises the twelve sound-board clips into assets/clips/.
# Run from the repository root: bash assets/make_clips.sh
# Needs sox, espeak-ng and lame. Output is repeatable: sox runs with -R
# (fixed noise seeds) and all "random" timings come from our own LCG.
set -euo pipefail

OUT=assets/clips
mkdir -p "$OUT"
T=$(mktemp -d)
# KEEP_TMP=1 leaves the intermediate layers behind for inspection.
trap '[[ -n ${KEEP_TMP:-} ]] && echo "layers kept in $T" || rm -rf "$T"' EXIT

# Float intermediates: layers are mixed at very different levels and
# 16-bit files would throw away the quiet ones' resolution.
F=(-e floating-point -b 32)
s() { sox -R -V1 "$@"; }

# Deterministic pseudo-random integers; bash reseeds $RANDOM in every
# subshell, so it would not repeat from run to run.
seed() { S=$1; }
rnd() { # R = integer in [$1, $2]
  S=$(( (S * 1103515245 + 12345) & 0x7fffffff ))
  R=$(( $1 + (S >> 8) % ($2 - $1 + 1) ))
}
sec() { printf -v R '%d.%03d' $(( $1 / 1000 )) $(( $1 % 1000 )); } # ms -> "s.mmm"

# One long bank per noise colour. With -R every synth call gives the same
# noise, so layers take different slices of a bank instead.
for c in white pink brown; do
  s -n -r 44100 -c 1 "${F[@]}" "$T/$c.wav" synth 34 ${c}noise
done
slice() { # slice OUT COLOUR LEN_MS [effects...]: a random stretch of a bank
  local out=$1 col=$2 len=$3; shift 3
  rnd 0 27000; sec "$R"; local off=$R
  sec "$len"
  s "$T/$col.wav" "${F[@]}" "$out" trim "$off" "$R" "$@"
}

scatter() { # scatter IN OUT DELAY...: copies of IN starting at each delay (s)
  local in=$1 out=$2; shift 2
  local m=() d
  for d in "$@"; do m+=(1); done
  s "$in" "${F[@]}" "$out" remix "${m[@]}" delay "$@" remix - gain -n -1
}

syl() { # syl OUT VOICE PITCH SPEED TEXT: one spoken syllable, trimmed tight
  espeak-ng -v "$2" -p "$3" -s "$4" -w "$T/es.wav" "$5"
  s "$T/es.wav" "${F[@]}" "$1" rate 44100 silence 1 0.003 0.3% \
    reverse silence 1 0.003 0.3% reverse gain -n -1
}

chain() { # chain OUT FILE@SECONDS@GAIN_DB...: play items back to back
  local out=$1 parts=() i=0 f d g
  shift
  for it in "$@"; do
    IFS=@ read -r f d g <<<"$it"
    s "$f" "${F[@]}" "$T/chain$i.wav" pad 0 "$d" trim 0 "$d" fade 0 -0 0.02 gain "$g"
    parts+=("$T/chain$i.wav")
    i=$((i + 1))
  done
  s "${parts[@]}" "${F[@]}" "$out"
}

laugh() { # laugh OUT VOICE PITCH SPEED COUNT PERIOD_MS TEXT...: one laughing person
  local out=$1 voice=$2 pitch=$3 speed=$4 n=$5 period=$6 items=() k p g
  shift 6
  local words=("$@")
  for ((k = 0; k < n; k++)); do
    # Pitch sags and the voice tires as the laugh runs out of breath.
    p=$(( pitch - k * 3 )); (( p < 5 )) && p=5
    rnd 0 $(( ${#words[@]} - 1 ))
    syl "$T/l_$k.wav" "$voice" "$p" "$speed" "${words[$R]}"
    rnd -25 25; sec $(( period + R )); g=$(( -k / 2 ))
    (( k == n - 1 )) && sec $(( period * 2 ))
    items+=("$T/l_$k.wav@$R@$g")
  done
  chain "$out" "${items[@]}"
}

finish() { # finish IN NAME KBPS MODE KHZ [PREFIX_FILE]: level, encode, prefix
  local in=$1 name=$2 kbps=$3 mode=$4 khz=$5 prefix=${6:-}
  local ch=2 rate=44100
  [[ $mode == m ]] && ch=1
  [[ $khz == 22.05 ]] && rate=22050
  s "$in" -b 16 -e signed-integer "$T/final.wav" channels $ch rate $rate \
    fade 0.004 -0 0.06 gain -n -3
  # -t: no Xing/LAME info frame, so the first frame is real audio.
  lame --quiet --noreplaygain -t --cbr -b "$kbps" -m "$mode" \
    --resample "$khz" -q 2 "$T/final.wav" "$T/enc.mp3"
  if [[ -n $prefix ]]; then
    cat "$prefix" "$T/enc.mp3" >"$OUT/$name"
  else
    cp "$T/enc.mp3" "$OUT/$name"
  fi
}

zeros() { head -c "$1" /dev/zero >"$T/zeros$1"; R=$T/zeros$1; }

# ---------------------------------------------------------------- laughter
crowd_laughter() {
  seed 101
  local voices=(m1 m2 m3 m4 m5 m6 m7 f1 f2 f3 f4 f5 m1 f2)
  local layers=() i
  for i in "${!voices[@]}"; do
    rnd 35 90; local p=$R
    rnd 150 210; local sp=$R
    rnd 6 13; local n=$R
    rnd 150 230; local per=$R
    laugh "$T/cv.wav" "en+${voices[$i]}" "$p" "$sp" "$n" "$per" hah hah ha huh hah
    rnd 0 1100; sec "$R"; local start=$R
    rnd 15 85
    s "$T/cv.wav" "${F[@]}" "$T/cv_$i.wav" pad "$start" remix "1v0.$R" "1v0.$(( 100 - R ))"
    layers+=("$T/cv_$i.wav")
  done
  # Room murmur keeps gaps between laughs from going dead silent.
  slice "$T/m.wav" pink 5000 bandpass 500 1.2q gain -n -30
  slice "$T/m2.wav" pink 5000 bandpass 500 1.2q gain -n -30
  s -M "$T/m.wav" "$T/m2.wav" "${F[@]}" "$T/murmur.wav"
  s -m "${layers[@]}" "$T/murmur.wav" "${F[@]}" "$T/crowd.wav" \
    reverb 55 60 80 100 8 trim 0 4.6 fade 0.05 -0 1.2
  finish "$T/crowd.wav" 01_crowd_laughter.mp3 128 j 44.1
}

snicker() {
  seed 202
  # A held-back "hm", then quick breathy "heh"s, part whisper, part voice.
  syl "$T/hm.wav" en+m3 45 180 "hm"
  local items=("$T/hm.wav@0.35@-4") k
  for ((k = 0; k < 9; k++)); do
    syl "$T/w$k.wav" en+whisper $(( 60 - k * 2 )) 300 heh
    syl "$T/v$k.wav" en+m3 $(( 62 - k * 2 )) 300 heh
    s -m -v 1 "$T/w$k.wav" -v 0.45 "$T/v$k.wav" "${F[@]}" "$T/hh$k.wav"
    rnd 95 135; sec "$R"
    items+=("$T/hh$k.wav@$R@$(( -k / 3 ))")
  done
  syl "$T/end.wav" en+whisper 40 160 "hehh"
  items+=("$T/end.wav@0.45@-3")
  chain "$T/sn.wav" "${items[@]}"
  s "$T/sn.wav" "${F[@]}" "$T/sn2.wav" highpass 150 reverb 20 50 30 pad 0.05 0.2 \
    channels 2
  finish "$T/sn2.wav" 02_snicker.mp3 192 j 44.1
}

evil_laugh() {
  seed 606
  # Slow "mwah", a run of "ha"s that speed up, then a drawn-out last one.
  syl "$T/mw.wav" en+m7 20 110 "mwah"
  local items=("$T/mw.wav@0.55@0") k per=260
  for ((k = 0; k < 8; k++)); do
    syl "$T/e$k.wav" en+m7 $(( 28 - k * 2 )) 190 hah
    sec "$per"; items+=("$T/e$k.wav@$R@$(( -k / 3 ))")
    per=$(( per - 12 ))
  done
  syl "$T/last.wav" en+m7 10 120 "hah"
  s "$T/last.wav" "${F[@]}" "$T/last2.wav" stretch 2.2
  items+=("$T/last2.wav@0.9@0")
  chain "$T/ev.wav" "${items[@]}"
  # Pitch down, double an octave below, and put it in a big dark hall.
  s "$T/ev.wav" "${F[@]}" "$T/ev_lo.wav" pitch -500 overdrive 6
  s "$T/ev.wav" "${F[@]}" "$T/ev_sub.wav" pitch -1200 gain -9
  s -m "$T/ev_lo.wav" "$T/ev_sub.wav" "${F[@]}" "$T/ev2.wav" lowpass 3500 \
    pad 0.05 1 reverb 60 70 100 100 20 echo 0.8 0.6 140 0.2 trim 0 5.2
  zeros 261
  finish "$T/ev2.wav" 06_evil_laugh.mp3 80 m 22.05 "$R"
}

hearty_laugh() {
  seed 707
  # Big open "HA"s falling in pitch, a couple of "ho"s, then a gasp for air.
  local items=() k words=(hah hah hah hah hah hoh hah hoh hoh)
  for ((k = 0; k < ${#words[@]}; k++)); do
    syl "$T/h$k.wav" en+m1 $(( 70 - k * 5 )) 170 "${words[$k]}"
    rnd 210 250; sec "$R"; items+=("$T/h$k.wav@$R@$(( -k / 3 ))")
  done
  slice "$T/gasp.wav" pink 450 bandpass 1800 0.8q fade p 0.3 -0 0.12 gain -n -12
  items+=("$T/gasp.wav@0.5@0")
  chain "$T/hl.wav" "${items[@]}"
  s "$T/hl.wav" "${F[@]}" "$T/hl2.wav" bass 4 reverb 25 50 40 pad 0.05 0.3 channels 2
  finish "$T/hl2.wav" 07_hearty_laugh.mp3 192 j 44.1
}

# ---------------------------------------------------------------- voices
scream() {
  seed 303
  # A sawtooth voice through "ah" formants; bends draw the rise, the
  # wobble and the fall, and a fast tremolo gives the throat its rasp.
  # Each bend starts where the previous one ended.
  local bends=("0,700,0.25" "0,30,0.04") k
  for ((k = 0; k < 13; k++)); do
    if (( k % 2 )); then bends+=("0,60,0.08"); else bends+=("0,-60,0.08"); fi
  done
  bends+=("0,-500,0.6")
  s -n -r 44100 "${F[@]}" "$T/sc_raw.wav" synth 2.3 sawtooth 620 \
    bend "${bends[@]}" tremolo 85 35
  slice "$T/sc_n.wav" white 2300 bandpass 2800 0.7q gain -n -14
  s -m "$T/sc_raw.wav" "$T/sc_n.wav" "${F[@]}" "$T/sc_mix.wav" \
    equalizer 950 1.2q +9 equalizer 1550 1.5q +7 equalizer 2900 1.2q +8 \
    highpass 400 lowpass 7000 overdrive 12 fade q 0.06 -0 0.7
  s "$T/sc_mix.wav" "${F[@]}" "$T/sc.wav" pad 0.05 0.4 channels 2 reverb 30 40 50 100 10
  finish "$T/sc.wav" 03_scream.mp3 192 j 44.1
}

kneel() {
  # Debian's espeak-ng Mandarin dictionary lacks these characters, so say
  # the pinyin: gui4 xia4.
  espeak-ng -v cmn-latn-pinyin -p 30 -s 120 -a 180 -w "$T/kn.wav" "gui4 xia4!"
  s "$T/kn.wav" "${F[@]}" "$T/kn2.wav" rate 44100 silence 1 0.003 0.3% \
    reverse silence 1 0.003 0.3% reverse bass 3 reverb 20 50 40 pad 0.15 0.5
  local id3=$T/id3.bin
  # ID3v2.3, 4096 bytes in all: header, one TIT2 frame (UTF-16 "跪下"),
  # zero padding. Size fields: tag = syncsafe 4086, frame = 7.
  {
    printf 'ID3\x03\x00\x00\x00\x00\x1f\x76'
    printf 'TIT2\x00\x00\x00\x07\x00\x00\x01\xff\xfe\xea\x8d\x0b\x4e'
    head -c $(( 4096 - 10 - 17 )) /dev/zero
  } >"$id3"
  finish "$T/kn2.wav" 10_kneel.mp3 128 m 44.1 "$id3"
}

# ---------------------------------------------------------------- applause
clap_set() { # clap_set PREFIX COUNT: short band-passed noise bursts
  local k
  for ((k = 0; k < $2; k++)); do
    rnd 800 2400; local f=$R
    rnd 45 90; local len=$R
    sec "$len"
    # Log fade: a hard smack that dies away quickly, like palms meeting.
    slice "$1$k.wav" white "$len" bandpass "$f" 0.8q highpass 300 \
      fade l 0.001 -0 "$R" gain -n -1
  done
}

clapper() { # clapper OUT CLAP RATE_MS START_MS END_MS: one person clapping
  local out=$1 clap=$2 per=$3 t=$4 end=$5 d=()
  while (( t < end )); do
    sec "$t"; d+=("$R")
    rnd -25 25; t=$(( t + per + R ))
  done
  scatter "$clap" "$out" "${d[@]}"
}

applause() { # applause OUT PEOPLE MIN_MS MAX_MS LEN_MS
  local out=$1 people=$2 lo=$3 hi=$4 len=$5 layers=() k
  clap_set "$T/cl" 8
  for ((k = 0; k < people; k++)); do
    rnd 0 7; local c=$T/cl$R.wav
    rnd "$lo" "$hi"; local per=$R
    rnd 0 350; local st=$R
    rnd $(( len - 700 )) "$len"; local en=$R
    clapper "$T/cp.wav" "$c" "$per" "$st" "$en"
    rnd 10 90
    s "$T/cp.wav" "${F[@]}" "$T/cp_$k.wav" remix "1v0.$(printf %02d "$R")" \
      "1v0.$(printf %02d $(( 100 - R )))" pad 0 1
    layers+=("$T/cp_$k.wav")
  done
  # Even out the peaks so a few hands still sound full.
  s -m "${layers[@]}" "${F[@]}" "$out" reverb 45 50 70 100 5 \
    compand 0.003,0.08 -80,-80,-40,-24,-20,-12,0,-6 0 -90 gain -n -1
}

light_applause() {
  seed 404
  applause "$T/la.wav" 7 190 280 3800
  s "$T/la.wav" "${F[@]}" "$T/la2.wav" trim 0 4.3 fade q 0.15 -0 1.0
  finish "$T/la2.wav" 04_light_applause.mp3 192 j 44.1
}

cheering() {
  seed 505
  applause "$T/ap.wav" 18 140 210 4800
  # Shouts from the crowd, spread across the stereo field.
  local shouts=(woo yeah "whoo hoo" hooray yay woo yeah hey "woo hoo" yay)
  local voices=(m3 f3 m1 f2 m5 f4 m2 f5 m4 f1) layers=() k
  for k in "${!shouts[@]}"; do
    rnd 60 95; local p=$R
    espeak-ng -v "en+${voices[$k]}" -p "$p" -s 130 -w "$T/sh.wav" "${shouts[$k]}"
    rnd 0 2600; sec "$R"; local st=$R
    rnd 10 90
    s "$T/sh.wav" "${F[@]}" "$T/sh_$k.wav" rate 44100 gain -n -6 pad "$st" \
      remix "1v0.$(printf %02d "$R")" "1v0.$(printf %02d $(( 100 - R )))"
    layers+=("$T/sh_$k.wav")
  done
  # Two finger whistles: a quick rise, hold, and a falling tail.
  s -n -r 44100 "${F[@]}" "$T/wh1.wav" synth 0.9 sine 1800:2900 \
    bend 0.25,200,0.2 0.1,-700,0.3 fade q 0.05 -0 0.2 gain -n -14 \
    pad 0.8 remix 1v0.7 1v0.3
  s -n -r 44100 "${F[@]}" "$T/wh2.wav" synth 0.7 sine 2300:3100 \
    fade q 0.04 -0 0.25 gain -n -17 pad 2.3 remix 1v0.25 1v0.75
  # Crowd roar: band-passed pink noise that swells with the cheer.
  slice "$T/r1.wav" pink 5000 bandpass 900 1q
  slice "$T/r2.wav" pink 5000 bandpass 900 1q
  s -M "$T/r1.wav" "$T/r2.wav" "${F[@]}" "$T/roar.wav" fade q 0.8 -0 1.5 gain -n -15
  s -m "$T/ap.wav" "${layers[@]}" "$T/wh1.wav" "$T/wh2.wav" "$T/roar.wav" \
    "${F[@]}" "$T/ch.wav" reverb 30 50 70 100 5 trim 0 5.3 fade q 0.2 -0 1.2
  finish "$T/ch.wav" 05_cheering.mp3 192 j 44.1
}

# ---------------------------------------------------------------- weapons
shot() { # shot OUT CRACK_MS BOOM_HZ: one report, crack plus low thump
  sec "$2"; local len=$R
  slice "$T/crack.wav" white "$2" highpass 250 fade l 0 -0 "$len" \
    overdrive 8 gain -n -1
  s -n -r 44100 "${F[@]}" "$T/boom.wav" synth 0.3 sine "$3":$(( $3 / 2 )) \
    fade l 0 -0 0.28 gain -n -4
  s -m "$T/crack.wav" "$T/boom.wav" "${F[@]}" "$1" lowpass 9000 gain -n -1
}

gunshot() {
  seed 1111
  shot "$T/gs.wav" 260 70
  # Slapback from nearby walls, then a reverb tail.
  s "$T/gs.wav" "${F[@]}" "$T/gs2.wav" pad 0.05 1.8 \
    echo 0.8 0.7 170 0.3 410 0.15 trim 0 2.2 channels 2 reverb 45 60 90 100 0 fade 0 -0 0.9
  finish "$T/gs2.wav" 11_gunshot.mp3 192 j 44.1
}

machine_gun() {
  seed 888
  local d=() t=0 k
  shot "$T/mg0.wav" 90 90
  shot "$T/mg1.wav" 80 80
  # Two bursts at about 12 rounds a second.
  for ((k = 0; k < 16; k++)); do sec "$t"; d+=("$R"); rnd 76 88; t=$(( t + R )); done
  scatter "$T/mg0.wav" "$T/b0.wav" "${d[@]}"
  d=(); t=1750
  for ((k = 0; k < 13; k++)); do sec "$t"; d+=("$R"); rnd 76 88; t=$(( t + R )); done
  scatter "$T/mg1.wav" "$T/b1.wav" "${d[@]}"
  s -m "$T/b0.wav" "$T/b1.wav" "${F[@]}" "$T/mg.wav" pad 0.03 1.2 overdrive 4 \
    echo 0.8 0.6 150 0.2 trim 0 4.1 channels 2 reverb 35 60 80 100 0 \
    fade 0 -0 0.8
  finish "$T/mg.wav" 08_machine_gun.mp3 192 j 44.1
}

# ---------------------------------------------------------------- weather
thunder_rain() {
  seed 909
  # Rain: hiss plus scattered drop ticks, independent per channel.
  local ch side=() k
  for ch in L R; do
    slice "$T/hiss$ch.wav" pink 6000 highpass 500 lowpass 10000 gain -n -6
    slice "$T/drop.wav" white 4 highpass 2500 fade l 0 -0 0.004 gain -n -1
    local d=()
    for ((k = 0; k < 160; k++)); do rnd 0 5900; sec "$R"; d+=("$R"); done
    scatter "$T/drop.wav" "$T/drops$ch.wav" "${d[@]}"
    s "$T/drops$ch.wav" "${F[@]}" "$T/drops2$ch.wav" gain -n -12 trim 0 6
    s -m "$T/hiss$ch.wav" "$T/drops2$ch.wav" "${F[@]}" "$T/rain$ch.wav"
    side+=("$T/rain$ch.wav")
  done
  s -M "${side[@]}" "${F[@]}" "$T/rain.wav"
  # Thunder: a sharp crack, a rumble that rolls as it dies away, and a
  # later, farther roll.
  slice "$T/tc.wav" white 400 bandpass 1400 0.5q fade l 0.004 -0 0.39 \
    overdrive 10 gain -n -5
  slice "$T/tr.wav" brown 4200 lowpass 280 tremolo 2.3 55 \
    fade t 0.05 -0 4.1 gain -n -1
  slice "$T/tr2.wav" brown 3000 lowpass 180 tremolo 1.6 40 \
    fade q 0.6 -0 2.4 gain -n -9
  s "$T/tr2.wav" "${F[@]}" "$T/tr3.wav" pad 1.9
  s -m "$T/tc.wav" "$T/tr.wav" "$T/tr3.wav" "${F[@]}" "$T/th.wav" pad 0.8 \
    bass 6 overdrive 5 gain -n -1 channels 2 reverb 50 60 100 100 15 trim 0 6
  s -m -v 1 "$T/rain.wav" -v 1 "$T/th.wav" "${F[@]}" "$T/tw.wav" \
    trim 0 5.8 fade q 0.3 -0 0.9
  zeros 417
  finish "$T/tw.wav" 09_thunder_rain.mp3 128 s 44.1 "$R"
}

helicopter() {
  seed 1212
  # Blade slaps at about 9 a second: thumps of low noise with a body tone.
  slice "$T/slap_n.wav" brown 70 lowpass 700 fade l 0.003 -0 0.065 gain -n -1
  s -n -r 44100 "${F[@]}" "$T/slap_t.wav" synth 0.07 sine 95:70 \
    fade l 0.002 -0 0.06 gain -n -3
  s -m "$T/slap_n.wav" "$T/slap_t.wav" "${F[@]}" "$T/slap.wav"
  local d=() t=0
  while (( t < 5200 )); do sec "$t"; d+=("$R"); rnd 104 110; t=$(( t + R )); done
  scatter "$T/slap.wav" "$T/slaps.wav" "${d[@]}"
  # Rotor wash pulsing with the blades, turbine whine, engine rumble.
  slice "$T/wash.wav" pink 5300 bandpass 600 0.8q tremolo 9.3 70 gain -n -9
  s -n -r 44100 "${F[@]}" "$T/whine.wav" synth 5.3 sine 1380 \
    synth 5.3 sine mix 2070 tremolo 0.6 15 gain -n -28
  slice "$T/rumble.wav" brown 5300 lowpass 120 gain -n -10
  s -m "$T/slaps.wav" "$T/wash.wav" "$T/whine.wav" "$T/rumble.wav" "${F[@]}" \
    "$T/heli.wav" trim 0 5.3 overdrive 3 channels 2 \
    reverb 20 50 100 100 0 fade q 1.4 -0 1.2
  finish "$T/heli.wav" 12_helicopter.mp3 192 j 44.1
}

ALL=(crowd_laughter snicker scream light_applause cheering evil_laugh
     hearty_laugh machine_gun thunder_rain kneel gunshot helicopter)
# Clips may be named on the command line to redo just those; each clip
# seeds its own generator, so the result is the same either way.
for clip in "${@:-${ALL[@]}}"; do "$clip"; done
ls -l "$OUT"
