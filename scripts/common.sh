# Shared by scripts/run.sh and scripts/test.sh (sourced, not run).
# Installs what the builds need, prepares the Japanese locale and a Wine
# prefix of the project's own, and builds both sides with CMake.

NOTAVO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
NOTAVO_BUILD="$NOTAVO_ROOT/build"
NOTAVO_JOBS="${NOTAVO_JOBS:-2}"

log() { printf '== %s\n' "$*" >&2; }

# Runs a command as root: directly when we are root, through sudo otherwise.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo -n "$@" || sudo "$@"
  else
    log "need root for: $*  (run as root or install sudo)"
    return 1
  fi
}

# Debian packages the builds and tests use: native compiler and GoogleTest,
# the mingw-w64 cross compiler, Wine with an X server for it, a Japanese
# locale and font, and the tools for looking at the window.
NOTAVO_PACKAGES=(
  cmake make g++ googletest libgtest-dev
  mingw-w64 g++-mingw-w64-x86-64-posix
  wine wine64 xvfb xdotool imagemagick
  locales fonts-ipafont-gothic clang
)

package_installed() {
  [ "$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null)" = "installed" ]
}

ensure_packages() {
  local missing=() p
  for p in "${NOTAVO_PACKAGES[@]}"; do
    package_installed "$p" || missing+=("$p")
  done
  [ "${#missing[@]}" -eq 0 ] && return 0
  log "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  as_root apt-get update -q </dev/null &&
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}" </dev/null
}

# Wine takes its ANSI code page and UI language from the locale: ja_JP.UTF-8
# gives code page 932 and Japanese system messages, as on a Japanese Windows.
ensure_locale() {
  if ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
    log "generating locale ja_JP.UTF-8"
    as_root localedef -i ja_JP -c -f UTF-8 ja_JP.UTF-8 || return 1
  fi
  export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
}

# The project's own Wine prefix, kept out of the user's ~/.wine. Mono and
# Gecko are switched off so that no installer dialog ever asks anything, and
# the menu builder so that nothing lands in the desktop menus.
setup_wine_env() {
  export WINEPREFIX="$NOTAVO_BUILD/wineprefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export WINEARCH=win64
  if [ -z "${HOME:-}" ]; then
    HOME="$(getent passwd "$(id -u)" | cut -d: -f6)"
    export HOME
  fi
}

ensure_wine_prefix() {
  setup_wine_env
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    log "creating Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    timeout 300 wineboot -i </dev/null >"$NOTAVO_BUILD/wineboot.log" 2>&1 || {
      log "wineboot failed, see $NOTAVO_BUILD/wineboot.log"
      return 1
    }
  fi
  timeout 300 wineserver -w
}

# Make keeps going past a failing target (-k), so that one broken part does
# not keep the tests of the others from being built and run.
keep_going() {
  [ -f "$1/Makefile" ] && echo "-k"
}

build_native() {
  log "building native (build/native)"
  cmake -S "$NOTAVO_ROOT" -B "$NOTAVO_BUILD/native" -DCMAKE_BUILD_TYPE=Release </dev/null &&
    cmake --build "$NOTAVO_BUILD/native" -j "$NOTAVO_JOBS" -- $(keep_going "$NOTAVO_BUILD/native") \
      </dev/null
}

# Only notavo.exe and what it links, for starting the program.
build_program() {
  log "building notavo.exe (build/win)"
  cmake -S "$NOTAVO_ROOT" -B "$NOTAVO_BUILD/win" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$NOTAVO_ROOT/cmake/mingw-w64-x86_64.cmake" </dev/null &&
    cmake --build "$NOTAVO_BUILD/win" -j "$NOTAVO_JOBS" --target notavo </dev/null
}

build_win() {
  log "building Windows (build/win)"
  cmake -S "$NOTAVO_ROOT" -B "$NOTAVO_BUILD/win" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$NOTAVO_ROOT/cmake/mingw-w64-x86_64.cmake" </dev/null &&
    cmake --build "$NOTAVO_BUILD/win" -j "$NOTAVO_JOBS" -- $(keep_going "$NOTAVO_BUILD/win") </dev/null
}
