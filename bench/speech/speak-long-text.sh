#!/usr/bin/env bash
# teluma-say speaking a long text: how long after a key press the sound ends (virtual clock of
# the headless backend, and the real clock with SDL's dummy audio device), and the CPU time the
# process uses while it speaks (it waits for the sound; it must not spin).
set -u
here="$(cd "$(dirname "$0")" && pwd)"
say="${TELUMA_BUILD_DIR:-.}/src/apps/teluma-say"
[ -x "$say" ] || { echo "teluma-say not built: $say"; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The data tree of the build when it has been made, else a small generated one.
if [ -f "${TELUMA_ROOT:-/nonexistent}/windows/TELUMA.INI" ]; then
  root="$TELUMA_ROOT"; windir="$TELUMA_ROOT/windows"; echo "data tree: $root"
else
  python3 "$here/make-tree.py" "$work/root" || exit 1
  root="$work/root"; windir="$work/root/windows"; echo "data tree: generated (small)"
fi

text=""
for i in $(seq 1 40); do text+="Olá mundo, o foguete desce a 120 metros por segundo. "; done

event_ms() {  # first time of event $2 in transcript $1
  awk -v e="$2" '$2 == e { print $1; exit }' "$1"
}

echo "-- virtual clock (headless)"
TELUMA_ROOT="$root" TELUMA_WINDIR="$windir" TELUMA_BACKEND=headless \
  TELUMA_TRANSCRIPT="$work/full.txt" "$say" "$text" >/dev/null 2>&1
echo "whole text without keys: $(event_ms "$work/full.txt" EXIT) ms of speech"
for at in 1000 5000 20000; do
  printf '+%d a\n' "$at" > "$work/keys"
  TELUMA_ROOT="$root" TELUMA_WINDIR="$windir" TELUMA_BACKEND=headless TELUMA_KEYS="$work/keys" \
    TELUMA_TRANSCRIPT="$work/t.txt" "$say" "$text" >/dev/null 2>&1
  stop=$(event_ms "$work/t.txt" STOP); end=$(event_ms "$work/t.txt" EXIT)
  echo "key at ${at} ms: sound stopped after $((stop - at)) ms, program ended after $((end - at)) ms"
done

if ! command -v script >/dev/null; then echo "no 'script' command: real-clock figures skipped"; exit 0; fi
echo "-- real clock (terminal backend, SDL dummy audio)"
short=""
for i in $(seq 1 8); do short+="Olá mundo, o foguete desce a 120 metros por segundo. "; done
/usr/bin/time -f "%e %U %S" -o "$work/time" env SDL_AUDIODRIVER=dummy TELUMA_ROOT="$root" \
  TELUMA_WINDIR="$windir" TELUMA_BACKEND=terminal \
  script -qec "$(printf '%q %q' "$say" "$short")" /dev/null </dev/null >/dev/null 2>&1
read -r wall user sys < "$work/time"
echo "spoke for ${wall} s of wall time using ${user} s user + ${sys} s system CPU" \
     "($(awk -v w="$wall" -v u="$user" -v s="$sys" 'BEGIN { printf "%.1f", 100 * (u + s) / w }')% of one core)"
(sleep 3; date +%s%N > "$work/keyt"; printf a; sleep 2) | env SDL_AUDIODRIVER=dummy \
  TELUMA_ROOT="$root" TELUMA_WINDIR="$windir" TELUMA_BACKEND=terminal \
  script -qec "$(printf '%q %q' "$say" "$text"); date +%s%N > $work/endt" /dev/null >/dev/null 2>&1
echo "key pressed 3 s into the text: program silent and ended $(( ($(cat "$work/endt") - $(cat "$work/keyt")) / 1000000 )) ms later"
