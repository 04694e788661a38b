#!/usr/bin/env bash
# Speed of the whole pipeline, koral --pho TEXT | teluma-mbrola, on 10 KB of Portuguese text,
# side by side with espeak-ng -v pt-br -w on the same text: seconds of sound per CPU second.
# Then the time to build the voice database and its size.
set -eu
build="${TELUMA_BUILD_DIR:?}"
root="${TELUMA_ROOT:?}"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
# The game's messages, over and over, to 10 KB.
"$build/bench/bin/voice_figures" --messages-only > "$out/messages.txt" 2>/dev/null || true
text="$out/texto.txt"
while [ "$(stat -c %s "$text" 2>/dev/null || echo 0)" -lt 10240 ]; do cat "$out/messages.txt" >> "$text"; done
head -c 10240 "$text" > "$out/t" && mv "$out/t" "$text"

cpu() {  # user + system seconds of a command line run by bash
  local TIMEFORMAT='%3U %3S'
  { time bash -c "$1" >/dev/null 2>&1; } 2>&1 | awk '{ printf "%.3f", $1 + $2 }'
}
seconds() { echo "$(( $(stat -c %s "$1") - 44 ))" | awk -v r="$2" '{ printf "%.2f", $1 / (2 * r) }'; }

ours=$(cpu "'$build/src/apps/koral' --pho < '$text' | '$build/src/apps/teluma-mbrola' -w '$out/ours.wav' '$root/qorbel/koraltts/br4'")
theirs=$(cpu "espeak-ng -v pt-br -w '$out/espeak.wav' -f '$text'")
ours_s=$(seconds "$out/ours.wav" 16000)
rate=$(od -An -tu4 -j24 -N4 "$out/espeak.wav" | tr -d ' ')
theirs_s=$(seconds "$out/espeak.wav" "$rate")
awk -v a="$ours_s" -v b="$ours" -v c="$theirs_s" -v d="$theirs" 'BEGIN {
  x = a / b; y = c / d
  printf "Voz br4: koral --pho | teluma-mbrola: %.1f s de som em %.3f s de CPU, %.0f s/s\n", a, b, x
  printf "Voz br4: espeak-ng -v pt-br -w:        %.1f s de som em %.3f s de CPU, %.0f s/s\n", c, d, y
  printf "Voz br4: razão (nossa / espeak-ng): %.2f\n", x / y }'

start=$(date +%s.%N)
"$build/tools/make-voice" --out "$out/br4" 2>/dev/null
end=$(date +%s.%N)
awk -v s="$start" -v e="$end" -v n="$(stat -c %s "$out/br4")" 'BEGIN {
  printf "Voz br4: base construída em %.2f s, %d bytes\n", e - s, n }'
