#!/usr/bin/env bash
# Time to build the diphone databases (inventory and the five speed steps, one after the other)
# and their sizes, into a temporary folder. Uses the build's make-diphones and the data tree's
# rule files.
set -eu
tool="${TELUMA_BUILD_DIR:?}/tools/make-diphones"
rules="${TELUMA_ROOT:?}/qorbel/som/difones/"
words="${TELUMA_WORD_LIST:-/usr/share/dict/brazilian}"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
start=$(date +%s.%N)
"$tool" --inventory "$out/units.txt" --rules "$rules" --words "$words" --catalogue yes 2>/dev/null
inventory=$(date +%s.%N)
step=1
for rate in 150 175 205 240 285; do
  "$tool" --render "$out/units.txt" --rate "$rate" --out "$out" --name "DIFONES$step" 2>/dev/null
  step=$((step + 1))
done
end=$(date +%s.%N)
echo "Difones: $(wc -l < "$out/units.txt") unidades"
awk -v s="$start" -v i="$inventory" -v e="$end" 'BEGIN {
  printf "Difones: inventário %.2f s, cinco bancos %.2f s, total %.2f s\n", i - s, e - i, e - s }'
du -cb "$out"/DIFONES* | tail -1 | awk '{printf "Difones: %d bytes nos cinco bancos\n", $1}'
