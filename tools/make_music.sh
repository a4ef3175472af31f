#!/usr/bin/env bash
# make_music.sh - synthesises the two background pieces with sox and encodes
# them with lame: media/intro.mp3 (start-up) and media/01.mp3 (music key).
#
# Each piece is four tracks mixed together: a lead melody, a bass line and a
# drum kit (kick, snare or clap, hi-hat). A track is one sox call whose effect
# chains, separated by ":", each render one note or one drum step; sox plays
# the chains one after another. Notes are "NAME:LENGTH" in sixteenths, "r" is
# a rest. Repeatable mode (-R) keeps the noise of the drums, and so the files,
# the same from run to run.
#
# Usage: tools/make_music.sh [output-dir]   (default: media/ of the checkout)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/media}"
rate=22050
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

SOX=(sox -R -q)

# ------------------------------------------------------------------ tracks

# melody FILE SIXTEENTH VOICE NOTES... : one chain per note; VOICE is the
# synth wave plus its shaping, given the note's length in seconds as $d.
melody() {
  local file=$1 six=$2 voice=$3; shift 3
  local args=() sep=() tok note len d
  for tok in "$@"; do
    note=${tok%%:*}; len=${tok##*:}
    d=$(awk -v a="$six" -v n="$len" 'BEGIN { printf "%.5f", a * n }')
    if [ "$note" = r ]; then
      args+=("${sep[@]}" synth "$d" sine 100 vol 0)
    else
      # shellcheck disable=SC2086
      args+=("${sep[@]}" synth "$d" $(eval "echo $voice"))
    fi
    sep=(:)
  done
  "${SOX[@]}" -n -r "$rate" -c 1 "$file" "${args[@]}"
}

# drums FILE SIXTEENTH BARS KICK SNARE HAT : three one-bar step patterns of
# sixteen steps ("x" hits, "." rests), rendered once and repeated BARS times.
drums() {
  local file=$1 six=$2 bars=$3 kick=$4 snare=$5 hat=$6
  local part i args sep hit
  for part in kick snare hat; do
    args=(); sep=()
    local pattern=${!part}
    for ((i = 0; i < 16; i++)); do
      hit=${pattern:i:1}
      if [ "$hit" = x ]; then
        case $part in
          kick)  args+=("${sep[@]}" synth "$six" sine 140/45 vol 0.6 fade q 0 "$six" "$six") ;;
          snare) args+=("${sep[@]}" synth "$six" noise vol 0.5 lowpass 6000 highpass 900 fade q 0 "$six" "$six" vol 0.55) ;;
          hat)   args+=("${sep[@]}" synth "$six" noise vol 0.5 highpass 7000 fade q 0 0.04 0.04 vol 0.3) ;;
        esac
      else
        args+=("${sep[@]}" synth "$six" sine 100 vol 0)
      fi
      sep=(:)
    done
    # Effects after the last ":" apply to the last chain only, so the bar is
    # rendered first and repeated in a second pass.
    "${SOX[@]}" -n -r "$rate" -c 1 "$work/bar.wav" "${args[@]}"
    "${SOX[@]}" "$work/bar.wav" "$work/$part.wav" repeat $((bars - 1))
  done
  "${SOX[@]}" -m "$work/kick.wav" "$work/snare.wav" "$work/hat.wav" "$file"
}

# bassline ROOTS... : expands each chord root into a bar of bass eighths.
# Pattern: root, root, octave, root, root, root, fifth, root.
bassline() {
  local root oct fifth
  for root in "$@"; do
    oct=${root%?}$(( ${root: -1} + 1 ))
    fifth=$(fifth_of "$root")
    printf '%s ' "$root:2" "$root:2" "$oct:2" "$root:2" "$root:2" "$root:2" "$fifth:2" "$root:2"
  done
}

# The fifth above a root note name, as sox understands note names.
fifth_of() {
  local names=(C C# D D# E F F# G G# A A# B) root=$1 i pitch oct
  pitch=${root%?}; oct=${root: -1}
  for i in "${!names[@]}"; do [ "${names[$i]}" = "$pitch" ] && break; done
  i=$((i + 7))
  [ $i -ge 12 ] && { i=$((i - 12)); oct=$((oct + 1)); }
  echo "${names[$i]}$oct"
}

# arpeggio TONES... : one bar of sixteenths over four chord tones, the shape
# of a sequencer riff.
arpeggio() {
  local t=("$@") i
  for i in 0 1 2 3 2 1 0 2 0 1 2 3 2 3 1 2; do printf '%s ' "${t[$i]}:1"; done
}

# finish NAME : mixes lead, bass and drums and encodes NAME.mp3 (mono,
# 40 kbit/s: small files, still plainly music).
finish() {
  local name=$1
  # Mixed quietly so that nothing clips, then brought up to 1 dB below full.
  sox -R -q -m -v 0.3 "$work/lead.wav" -v 0.33 "$work/bass.wav" -v 0.4 "$work/drums.wav" \
    "$work/mix.wav" fade t 0.01 -0 1.5 norm -1
  lame --quiet -m m -b 40 "$work/mix.wav" "$out/$name.mp3"
  echo "wrote $out/$name.mp3 ($(stat -c %s "$out/$name.mp3") bytes, $(soxi -D "$work/mix.wav") s)"
}

# ------------------------------------------------------------------ intro
# A minor, 112 beats a minute, a plucked tune over Am F C G, played twice and
# closed on A: 17 bars, about 36 seconds.
six=$(awk 'BEGIN { printf "%.6f", 60 / 112 / 4 }')
tune=(E5:4 C5:2 A4:2 B4:4 C5:4   A4:4 C5:2 F5:2 E5:4 C5:4
      G4:4 C5:2 E5:2 G5:6 E5:2   D5:4 B4:2 G4:2 D5:8
      A4:2 C5:2 E5:2 A5:2 G5:4 E5:4   F5:4 E5:2 C5:2 A4:8
      E5:2 D5:2 C5:2 E5:2 G5:4 C6:4   B5:4 G5:2 D5:2 B4:4 r:4)
melody "$work/lead.wav" "$six" 'pluck $note vol 0.6 fade 0 $d 0.05' "${tune[@]}" "${tune[@]}" A4:16
# shellcheck disable=SC2046
melody "$work/bass.wav" "$six" 'triangle $note vol 0.6 lowpass 900 fade 0.005 $d 0.03' \
  $(bassline A2 F2 C3 G2 A2 F2 C3 G2 A2 F2 C3 G2 A2 F2 C3 G2 A2)
drums "$work/drums.wav" "$six" 17 \
  'x.......x.x.....' '....x.......x...' 'x.x.x.x.x.x.x.x.'
finish intro

# ------------------------------------------------------------------ 01
# D minor, 128 beats a minute: a square-wave sequencer riff over Dm Bb C Am
# with four-on-the-floor kick, clap on two and four and off-beat hats:
# 18 bars, about 34 seconds.
six=$(awk 'BEGIN { printf "%.6f", 60 / 128 / 4 }')
riff=()
for round in 1 2 3 4; do
  riff+=($(arpeggio D4 F4 A4 D5) $(arpeggio D4 F4 A#4 D5) $(arpeggio E4 G4 C5 E5))
  if [ $round -lt 4 ]; then riff+=($(arpeggio E4 A4 C5 E5)); else riff+=(A4:8 E5:4 A5:4); fi
done
melody "$work/lead.wav" "$six" 'square $note vol 0.5 lowpass 2500 fade 0.003 $d 0.04' \
  "${riff[@]}" D5:16 D4:16
melody "$work/bass.wav" "$six" 'sawtooth $note vol 0.6 lowpass 500 fade 0.003 $d 0.05' \
  $(for i in 1 2 3 4; do bassline D2 A#1 C2 A1; done) $(bassline D2 D2)
drums "$work/drums.wav" "$six" 18 \
  'x...x...x...x...' '....x.......x...' '..x...x...x...xx'
finish 01
