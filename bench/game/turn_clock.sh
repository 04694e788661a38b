#!/usr/bin/env bash
# Game figures: the drift of the turn clock (real seconds per 100 turns of a flight without
# speech, terminal backend) and the wall time of a whole headless game of three flights.
set -eu
build="${TELUMA_BUILD_DIR:?}"
source="${TELUMA_SOURCE_DIR:?}"
game="$build/src/apps/moondrop"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# A data tree of its own: the shipped settings and levels, the translator's rules and an empty
# voice, so that speech costs next to nothing and the figures measure the game.
root="$work/root"
mkdir -p "$root/windows" "$root/qorbel/som/moondrop" "$root/qorbel/som/letras" "$root/qorbel/som/difones"
tocp() { iconv -f UTF-8 -t WINDOWS-1252 "$1" | sed 's/\r*$/\r/' > "$2"; }
tocp "$source/data/windows/TELUMA.INI" "$root/windows/TELUMA.INI"
tocp "$source/data/lunardif.ini" "$root/qorbel/lunardif.ini"
for f in regras.rgr portug.exc; do tocp "$source/data/difones/$f" "$root/qorbel/som/difones/$f"; done
for n in 1 2 3 4 5; do : > "$root/qorbel/som/difones/DIFONES$n.IND"; : > "$root/qorbel/som/difones/DIFONES$n.DIF"; done
export TELUMA_ROOT="$root" TELUMA_WINDIR="$root/windows" TELUMA_SEED=1

# 1. Turn clock: a level-1 free fall in the terminal backend, driven through a pseudo-terminal.
# The first 120 turns say nothing, so status lines 1 and 101 are 100 turns apart.
python3 - "$game" "$work" <<'PY'
import os, pty, re, select, sys, time, signal
game, work = sys.argv[1], sys.argv[2]
transcript = os.path.join(work, "terminal.txt")
env = dict(os.environ, TELUMA_BACKEND="terminal", TELUMA_TRANSCRIPT=transcript, TERM="xterm-256color")
os.chdir(os.path.join(work, "root", "qorbel"))
pid, fd = pty.fork()
if pid == 0:
    os.execve(game, [game], env)

def events():
    try:
        with open(transcript, encoding="utf-8", errors="replace") as f:
            return f.read().splitlines()
    except FileNotFoundError:
        return []

def drain(seconds=0.05):
    # Reads the terminal's output as it comes, so that the game never waits on a full pty.
    end = time.time() + seconds
    try:
        while True:
            left = end - time.time()
            if left <= 0: return
            r, _, _ = select.select([fd], [], [], left)
            if r and not os.read(fd, 65536): return
    except OSError:
        return

def answer(marker, key, timeout=60):
    end = time.time() + timeout
    while time.time() < end:
        drain()
        lines = events()
        if any(marker in l for l in lines):
            if answered.get(marker, 0) < sum(marker in l for l in lines):
                drain(0.3)
                os.write(fd, key)
                answered[marker] = answered.get(marker, 0) + 1
                return
    raise SystemExit("no " + marker)

answered = {}
answer('SPEAK "Deseja', b"n")
answer('SPEAK "Quer conhecer', b"n")
answer('SPEAK "Come', b"\r")
answer('SPEAK "Digite a sua op', b"1")
answer('SPEAK "Pressione enter', b"\r")
status = {}
end = time.time() + 40
while time.time() < end and not ("11.1" in status):
    drain()
    for l in events():
        m = re.match(r'(\d+) OUT "tempo= +([0-9.]+) ', l)
        if m and m.group(2) not in status:
            status[m.group(2)] = int(m.group(1))
    drain(0.2)
os.kill(pid, signal.SIGTERM)
os.waitpid(pid, 0)
if "1.1" not in status or "11.1" not in status:
    raise SystemExit("status lines not found")
seconds = (status["11.1"] - status["1.1"]) / 1000
print(f"turn clock: {seconds:.3f} s per 100 turns (ideal 10 s, drift {100 * (seconds - 10) / 10:+.2f}%)")
PY

# 2. A whole headless game of three flights (levels 1, 2, 3, free falls), from start to exit.
keys="$work/keys.txt"
printf 'n\nn\nEnter\n1\nEnter\nEsc\nS\n2\nEnter\nEsc\nEnter\n3\nEnter\nEsc\nn\n' > "$keys"
cd "$root/qorbel"
start=$(date +%s.%N)
TELUMA_BACKEND=headless TELUMA_KEYS="$keys" TELUMA_TRANSCRIPT="$work/headless.txt" "$game" > /dev/null
stop=$(date +%s.%N)
flights=$(grep -c 'SPEAK "Sua pontua' "$work/headless.txt")
virtual=$(tail -n 1 "$work/headless.txt" | grep -o '^[0-9]*' || true)
virtual=$(grep -E '^[0-9]+ EXIT' "$work/headless.txt" | cut -d' ' -f1)
echo "headless game: $flights flights in $(echo "$stop - $start" | bc -l | xargs printf '%.3f') s wall time ($((virtual / 1000)) s of game time)"
