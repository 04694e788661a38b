#!/usr/bin/env bash
# install_test.sh tree|package BUILD
#   tree:    stages BUILD's install in a temporary folder, makes it read-only and plays from it.
#   package: builds the .deb, installs it with dpkg, plays /usr/bin/moondrop, removes it.
# The player is a user who owns nothing of the installation (nobody when run as root) with a
# fresh home and no TELUMA_* settings but the headless seam.
set -euo pipefail
mode=${1:?tree or package} build=${2:?build folder}
work=$(mktemp -d)
chmod 755 "$work"
cleanup() { [ -n "${KEEP:-}" ] && return; chmod -R u+w "$work" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT

fail() { echo "FALHA: $*" >&2; exit 1; }

player=()
if [ "$(id -u)" = 0 ]; then
  player=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
fi

# play BIN HOME KEYS: one headless game as the player, started from /, transcript in HOME.
play() {
  local bin=$1 home=$2 keys=$3
  printf '%b' "$keys" >"$home/keys"
  (cd / && "${player[@]}" env -i PATH=/usr/bin:/bin HOME="$home" TELUMA_BACKEND=headless \
     TELUMA_KEYS="$home/keys" TELUMA_TRANSCRIPT="$home/transcript" TELUMA_SEED=1 "$bin" \
     </dev/null >/dev/null 2>"$home/stderr") || fail "$bin terminou com erro: $(cat "$home/stderr")"
}

new_home() {
  local home=$work/home-$1
  mkdir -p "$home"
  [ ${#player[@]} = 0 ] || chown nobody:nogroup "$home"
  echo "$home"
}

# The three games a player's folder is proven with: the first makes the folder; the second
# flies the player's own difficulty file (0 m: landed at once, a score for the table) and
# records "Ana"; the third shows the table read back through ARQPLACAR.
play_three_games() {
  local bin=$1 home mine
  home=$(new_home "$2")
  mine=$home/.local/share/moondrop
  play "$bin" "$home" 'n\nn\nn\n'
  [ -d "$mine" ] || fail "pasta do jogador $mine não foi criada"
  [ ! -e "$mine/luplacar.ini" ] || fail "placar gravado sem voo"
  printf '0\r\n0\r\n30\r\n5\r\n*\r\n0\r\n0\r\n20\r\n4\r\n*\r\n0\r\n0\r\n15\r\n3\r\n' >"$mine/lunardif.ini"
  [ ${#player[@]} = 0 ] || chown nobody:nogroup "$mine/lunardif.ini"
  play "$bin" "$home" 'n\nn\nEnter\n1\nEnter\n"Ana" Enter\nEsc\nn\n'
  grep -q 'SPEAK "0 metros"' "$home/transcript" || fail "o voo não usou o lunardif.ini do jogador"
  grep -qa '^Ana' "$mine/luplacar.ini" || fail "placar não está em $mine"
  play "$bin" "$home" 'n\nS\nEsc\nn\n'
  grep -q 'SPEAK "Ana  *[0-9]' "$home/transcript" || fail "a tabela lida não é a do jogador"
}

check_installed_files() {
  local prefix=$1
  for f in bin/moondrop bin/koral bin/teluma-console bin/teluma-diphone bin/teluma-mbrola \
           bin/teluma-play bin/teluma-say lib/teluma/libteluma-mbrola.so \
           share/teluma/windows/TELUMA.INI share/teluma/qorbel/lunardif.ini \
           share/teluma/qorbel/som/moondrop/foguete.bmp share/teluma/qorbel/koraltts/br4 \
           share/applications/moondrop.desktop share/icons/hicolor/128x128/apps/moondrop.png \
           share/man/man6/moondrop.6 share/man/man1/koral.1 share/man/man1/teluma-say.1; do
    [ -e "$prefix/$f" ] || fail "falta $prefix/$f"
  done
  ! find "$prefix/share/teluma" -name 'luplacar.ini*' | grep -q . || fail "placar de desenvolvedor instalado"
  # Nothing of the build tree may be needed: no build path in any RUNPATH.
  for f in "$prefix"/bin/{moondrop,koral,teluma-*} "$prefix"/lib/teluma/*; do
    ! readelf -d "$f" | grep -q "$build" || fail "$f aponta para $build"
  done
}

# The Koral engine renders through the installed voice library, found with no setting.
check_voice() {
  local bin=$1 home
  home=$(new_home voice)
  (cd "$home" && "${player[@]}" env -i PATH=/usr/bin:/bin HOME="$home" "$bin" -w "$home/fala.wav" \
     "bom dia") || fail "koral -w falhou"
  [ "$(stat -c %s "$home/fala.wav")" -gt 1000 ] || fail "koral -w não escreveu a fala"
}

case $mode in
  tree)
    # Staged with DESTDIR, as a packager does: files meant for /etc stay inside the stage too.
    prefix=$work/stage/usr
    DESTDIR=$work/stage cmake --install "$build" --prefix /usr >/dev/null
    check_installed_files "$prefix"
    chmod -R a-w "$prefix"
    play_three_games "$prefix/bin/moondrop" tree
    check_voice "$prefix/bin/koral"
    ;;
  package)
    [ "$(id -u)" = 0 ] || { echo "ignorado: instalar o pacote com dpkg precisa de root"; exit 77; }
    command -v dpkg >/dev/null && command -v cpack >/dev/null ||
      { echo "ignorado: dpkg ou cpack ausente"; exit 77; }
    if dpkg-query -W -f='${Status}' moondrop 2>/dev/null | grep -q 'install ok installed'; then
      echo "ignorado: o pacote moondrop já está instalado nesta máquina e não será mexido"
      exit 77
    fi
    (cd "$build" && cpack -G DEB -B "$work/pkg" >/dev/null) || fail "cpack falhou"
    deb=$(ls "$work"/pkg/moondrop_*.deb)
    dpkg-deb -f "$deb" Package Version Depends
    exec 9>/tmp/moondrop-package-test.lock
    flock 9
    trap 'dpkg -P moondrop >/dev/null 2>&1 || true; cleanup' EXIT
    dpkg -i "$deb" >/dev/null || fail "dpkg -i falhou"
    check_installed_files /usr
    play_three_games /usr/bin/moondrop package
    check_voice /usr/bin/koral
    dpkg -P moondrop >/dev/null || fail "dpkg -P falhou"
    [ ! -e /usr/bin/moondrop ] && [ ! -e /usr/share/teluma ] || fail "restos do pacote após dpkg -P"
    ;;
  *) fail "modo desconhecido: $mode" ;;
esac
echo "ok"
