#!/usr/bin/env bash
# Key press to silence while Koral speaks a long text, on the real clock: teluma-say in the
# terminal backend with SDL's dummy audio device, Koral chosen in TELUMA.INI. teluma-say ends as
# soon as speech has stopped, so the time from the key to the end of the program bounds the
# time to silence from above.
set -u
say="${TELUMA_BUILD_DIR:?}/src/apps/teluma-say"
root="${TELUMA_ROOT:?}"
[ -x "$say" ] || { echo "teluma-say not built: $say"; exit 1; }
command -v script >/dev/null || { echo "no 'script' command: skipped"; exit 0; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/windows"
{ printf '[TRADUTOR]\r\nSAPI=S\r\n[SERVFALA]\r\nTIPOSAPI=3\r\n\r\n'; cat "$root/windows/TELUMA.INI"; } \
  > "$work/windows/TELUMA.INI"
cp "$root"/windows/*.reg "$work/windows/" 2>/dev/null
text=""
for i in $(seq 1 40); do text+="Olá mundo, o foguete desce a 120 metros por segundo. "; done
for delay in 1 3; do
  (sleep "$delay"; date +%s%N > "$work/keyt"; printf a; sleep 3) | env SDL_AUDIODRIVER=dummy \
    TELUMA_ROOT="$root" TELUMA_WINDIR="$work/windows" TELUMA_BACKEND=terminal \
    TELUMA_TRANSCRIPT="$work/t.txt" \
    script -qec "$(printf '%q %q' "$say" "$text"); date +%s%N > $work/endt" /dev/null >/dev/null 2>&1
  grep -q ' SYNTH ' "$work/t.txt" || { echo "Koral did not speak (voice not built?)"; exit 1; }
  grep -q ' STOP' "$work/t.txt" || echo "no STOP in the transcript: the key came too late"
  echo "Koral, tecla a ${delay} s do início: silêncio e fim do programa" \
       "$(( ($(cat "$work/endt") - $(cat "$work/keyt")) / 1000000 )) ms depois da tecla"
done
