#!/usr/bin/env bash
# make screenshot: the game's title screen in its window, on a virtual X server, saved as
# build/screenshot-titulo.bmp. The game waits at its first question; a termination signal then
# closes the window, which saves its last image (TELUMA_SCREENSHOT).
set -eu
build="$(cd "$1" && pwd)"
out="$build/screenshot-titulo.bmp"
rm -f "$out"
cd "$build/root/qorbel"
TELUMA_ROOT="$build/root" TELUMA_BACKEND=window TELUMA_SCREENSHOT="$out" \
  xvfb-run -a -s "-screen 0 1280x1024x24" "$build/src/apps/moondrop" >/dev/null 2>&1 &
for _ in $(seq 1 50); do
  sleep 0.2
  pgrep -x moondrop >/dev/null && break
done
sleep 4  # the greeting is written and spoken before the first question
pkill -TERM -x moondrop || true
wait || true
[ -f "$out" ] && echo "$out" || { echo "Não foi possível fazer a imagem da tela" >&2; exit 1; }
