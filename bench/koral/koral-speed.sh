#!/usr/bin/env bash
# koral -w on about 10 KB of Portuguese text beside espeak-ng -v pt-br -w on the same text:
# seconds of sound per CPU second (start-up included) and the ratio.
set -u
koral="${TELUMA_BUILD_DIR:?}/src/apps/koral"
[ -x "$koral" ] || { echo "koral not built: $koral"; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The game's own texts, repeated up to 10 KB.
python3 - "${TELUMA_SOURCE_DIR:?}/src/game/catalogue.cpp" > "$work/text.txt" <<'PY'
import re, sys
src = open(sys.argv[1], encoding="utf-8").read()
parts = [p.replace("\\r\\n", " ") for p in re.findall(r'"((?:[^"\\]|\\.)*)"', src) if " " in p]
text = ""
while len(text.encode()) < 10240:
    for p in parts:
        text += p.strip() + " "
print(text[:10240])
PY
echo "texto: $(wc -c < "$work/text.txt") bytes"

cpu() {  # user + system CPU seconds of a command
  /usr/bin/time -f "%U %S" -o "$work/time" "$@" >/dev/null 2>&1
  awk '{ printf "%.3f", $1 + $2 }' "$work/time"
}
sound() {  # seconds of sound in a wave file (RIFF header read)
  python3 -c '
import struct, sys
b = open(sys.argv[1], "rb").read()
rate, = struct.unpack_from("<I", b, 24); align, = struct.unpack_from("<H", b, 32)
pos = 12
while pos + 8 <= len(b):
    cid, size = b[pos:pos+4], struct.unpack_from("<I", b, pos + 4)[0]
    if cid == b"data":
        size = min(size, len(b) - pos - 8) if size else len(b) - pos - 8
        print("%.3f" % (size / align / rate)); break
    pos += 8 + size + (size & 1)' "$1"
}

kcpu=$(cpu "$koral" -w "$work/koral.wav" "$(cat "$work/text.txt")")
ksound=$(sound "$work/koral.wav")
echo "koral -w:    ${ksound} s de som em ${kcpu} s de CPU: $(awk -v s="$ksound" -v c="$kcpu" 'BEGIN { printf "%.1f", s / c }') s de som por s de CPU"
if command -v espeak-ng >/dev/null; then
  ecpu=$(cpu espeak-ng -v pt-br -w "$work/espeak.wav" -f "$work/text.txt")
  esound=$(sound "$work/espeak.wav")
  echo "espeak-ng -w: ${esound} s de som em ${ecpu} s de CPU: $(awk -v s="$esound" -v c="$ecpu" 'BEGIN { printf "%.1f", s / c }') s de som por s de CPU"
  awk -v ks="$ksound" -v kc="$kcpu" -v es="$esound" -v ec="$ecpu" \
    'BEGIN { printf "razão koral / espeak-ng: %.2f\n", (ks / kc) / (es / ec) }'
else
  echo "espeak-ng não instalado: comparação omitida"
fi
