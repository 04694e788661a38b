#!/usr/bin/env bash
# Time from spd-say to the first sample handed to the sound output, for a 10-word sentence:
# the repository's Koral module beside speech-dispatcher's espeak-ng module, both in one
# private speech-dispatcher (own configuration, socket and logs; libao's null driver).
# Koral's first sample is seen by the player that replaces $PLAY_COMMAND; espeak-ng's by a
# preloaded wrapper of libao's ao_play.
set -u
koral="${TELUMA_BUILD_DIR:?}/src/apps/koral"
conf_src="${TELUMA_SOURCE_DIR:?}/desktop/koral-generic.conf"
[ -x "$koral" ] || { echo "koral not built: $koral"; exit 1; }
for p in speech-dispatcher spd-say cc; do
  command -v "$p" >/dev/null || { echo "$p não instalado: medida omitida"; exit 0; }
done
work="$(mktemp -d)"
pid=""
trap '[ -n "$pid" ] && kill -- "-$pid" 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$work/conf/modules" "$work/home" "$work/log"
echo "default_driver=null" > "$work/home/.libao"

cat > "$work/first.c" <<'C'
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>
int ao_play(void* device, char* samples, unsigned int bytes) {
  static int (*next)(void*, char*, unsigned int);
  const char* mark = getenv("FIRST_SAMPLE_FILE");
  int fd = mark && bytes > 0 ? open(mark, O_WRONLY | O_CREAT | O_EXCL, 0644) : -1;
  if (fd >= 0) {
    struct timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    dprintf(fd, "%lld\n", (long long)t.tv_sec * 1000000000LL + t.tv_nsec);
    close(fd);
  }
  if (!next) next = (int (*)(void*, char*, unsigned int))dlsym(RTLD_NEXT, "ao_play");
  return next ? next(device, samples, bytes) : 1;
}
C
cc -shared -fPIC -O2 -o "$work/first.so" "$work/first.c" -ldl || exit 1

# The player reads the header and the first sample, notes the time, then drains the rest.
cat > "$work/player.sh" <<SH
head -c 46 > /dev/null
date +%s%N > "$work/first"
cat > /dev/null
SH
sed "s#\\\$PLAY_COMMAND#sh $work/player.sh#" "$conf_src" > "$work/conf/modules/koral-generic.conf"
cp /etc/speech-dispatcher/modules/espeak-ng.conf "$work/conf/modules/" 2>/dev/null ||
  : > "$work/conf/modules/espeak-ng.conf"
cat > "$work/conf/speechd.conf" <<CONF
CommunicationMethod "unix_socket"
SocketPath "$work/sock"
AudioOutputMethod "libao"
LogLevel 1
AddModule "koral" "sd_generic" "koral-generic.conf"
AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"
DefaultModule "koral"
CONF

PATH="$(dirname "$koral"):$PATH" HOME="$work/home" FIRST_SAMPLE_FILE="$work/first" \
  LD_PRELOAD="$work/first.so" setsid speech-dispatcher -s -t 120 -C "$work/conf" \
  -S "$work/sock" -P "$work/pid" -L "$work/log" 2>"$work/log/stderr" &
pid=$!
export SPEECHD_ADDRESS="unix_socket:$work/sock"
for _ in $(seq 100); do [ -S "$work/sock" ] && break; sleep 0.05; done
[ -S "$work/sock" ] || { echo "speech-dispatcher não iniciou"; cat "$work/log/stderr"; exit 1; }

sentence="O módulo lunar desce devagar sobre a cratera do norte"
measure() {  # module, then spd-say options; prints milliseconds, one run per line
  local module=$1; shift
  spd-say -o "$module" "$@" -w "aquecimento" >/dev/null 2>&1
  for _ in 1 2 3 4 5 6 7; do
    rm -f "$work/first"
    local t0; t0=$(date +%s%N)
    spd-say -o "$module" "$@" -w "$sentence"
    [ -s "$work/first" ] || { echo "sem som"; continue; }
    echo $(( ($(cat "$work/first") - t0) / 1000 ))
  done
}
report() {  # name, values in microseconds
  local name=$1; shift
  printf '%s\n' "$@" | sort -n | awk -v n="$name" '
    /^[0-9]+$/ { v[c++] = $1 }
    END { if (!c) { print n ": sem som"; exit }
          printf "%s: spd-say até a primeira amostra, mediana %.1f ms (mínimo %.1f, máximo %.1f, %d vezes)\n",
                 n, v[int(c / 2)] / 1000, v[0] / 1000, v[c - 1] / 1000, c }'
}
echo "frase de 10 palavras: $sentence"
report "koral (módulo genérico)" $(measure koral)
report "espeak-ng (sd_espeak-ng, pt-br)" $(measure espeak-ng -l pt-br)
