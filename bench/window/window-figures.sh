#!/usr/bin/env bash
# Figures of the console window on a virtual X server: full repaint, 10,000 lines written with
# scrolling, and the CPU an idle window uses while it waits for a key.
set -u
bin="$TELUMA_BUILD_DIR/bench/bin"
apps="$TELUMA_BUILD_DIR/src/apps"
lines="$(find "$TELUMA_BUILD_DIR/bench" -name console_lines -type f | head -1)"
if ! command -v xvfb-run >/dev/null; then echo "xvfb-run ausente: medidas da janela omitidas"; exit 0; fi

xvfb-run -a -s "-screen 0 1280x1024x24" "$bin/window_bench" --benchmark_min_time=1

if [ -n "$lines" ]; then
  start=$(date +%s.%N)
  TELUMA_BACKEND=window xvfb-run -a -s "-screen 0 1280x1024x24" "$lines" 10000 >/dev/null 2>&1
  end=$(date +%s.%N)
  echo "janela: 10000 linhas com rolagem em $(echo "$end - $start" | bc) s (inclui abrir o servidor X)"
fi

# CPU of the console demo waiting for a key in the window for 10 s.
TELUMA_BACKEND=window xvfb-run -a -s "-screen 0 1280x1024x24" "$apps/teluma-console" >/dev/null 2>&1 &
sleep 2
pid=$(pgrep -n -x teluma-console)
if [ -n "$pid" ]; then
  ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
  t0=$(ticks "$pid"); sleep 10; t1=$(ticks "$pid")
  hz=$(getconf CLK_TCK)
  echo "janela esperando tecla: $(echo "scale=3; ($t1 - $t0) * 100 / $hz / 10" | bc)% de um núcleo em 10 s"
  kill -TERM "$pid"
fi
wait
