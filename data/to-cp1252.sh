#!/bin/sh
# Writes a UTF-8 source file into the data tree as Windows-1252 with CR LF line ends.
set -e
mkdir -p "$(dirname "$2")"
iconv -f UTF-8 -t WINDOWS-1252 "$1" | sed 's/\r*$/\r/' > "$2.tmp"
mv "$2.tmp" "$2"
