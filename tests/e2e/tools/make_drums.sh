#!/usr/bin/env bash
# make_drums.sh BPM FIRST SECONDS OUT.wav - a dance drum track of a known
# tempo for the music tests: a kick on every beat (the first FIRST seconds
# in), a snare on 2 and 4, a hi-hat on the off-beats, over a quiet bed of
# pink noise as real recordings have (no digital silence between hits).
set -euo pipefail
bpm=$1 first=$2 secs=$3 out=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
half=$(awk -v b="$bpm" 'BEGIN { printf "%.6f", 30 / b }')
pad() { awk -v h="$half" -v l="$1" 'BEGIN { printf "%.6f", h - l }'; }
cd "$work"
sox -n -r 44100 -c 1 k.wav synth 0.15 sine 120-45 fade q 0.002 0.15 0.12 vol 0.9
sox -n -r 44100 -c 1 s.wav synth 0.12 noise fade q 0.002 0.12 0.1 vol 0.5
sox -n -r 44100 -c 1 h.wav synth 0.03 noise fade q 0.001 0.03 0.025 vol 0.2
sox k.wav k8.wav pad 0 "$(pad 0.15)"
sox s.wav s8.wav pad 0 "$(pad 0.12)"
sox h.wav h8.wav pad 0 "$(pad 0.03)"
sox -m k8.wav s8.wav ks8.wav
# One bar: eight eighths, the beats on the even ones.
sox k8.wav h8.wav ks8.wav h8.wav k8.wav h8.wav ks8.wav h8.wav bar.wav
bars=$(awk -v b="$bpm" -v f="$first" -v s="$secs" 'BEGIN { printf "%d", (s - f) * b / 240 }')
sox bar.wav body.wav repeat $((bars - 1))
sox body.wav drums.wav pad "$first" 0
sox -n -r 44100 -c 1 bed.wav synth "$(soxi -D drums.wav)" pinknoise vol 0.03
sox -m drums.wav bed.wav "$out"
