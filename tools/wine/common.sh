# Shared by tools/wine/run and tools/wine/prefix (sourced, not run).
#
# The project keeps its own Wine prefixes, one per architecture, outside the build folders so
# every build (and every engineer's build dir) shares one prepared, warm prefix:
#   ${PELMORA_WINE_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/pelmora}/win64   64-bit programs
#   ${PELMORA_WINE_HOME:-...}/win32                                             32-bit programs
# A 32-bit program needs the 32-bit Wine loader, which only runs where the kernel runs 32-bit
# code; pelmora_wine_can_run tells.

PELMORA_WINE_HOME=${PELMORA_WINE_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/pelmora}
PELMORA_WINESERVER=/usr/lib/wine/wineserver64
[ -x "$PELMORA_WINESERVER" ] || PELMORA_WINESERVER=/usr/lib/wine/wineserver32

# The ANSI code page of Wine follows the locale: zh_CN gives code page 936, the code page of
# every text the program stores.
PELMORA_WINE_LOCALE=zh_CN.UTF-8

pelmora_wine_loader() {  # arch (32|64) -> path of the Wine loader for it
  case $1 in
    32) echo /usr/lib/wine/wine ;;
    64) echo /usr/lib/wine/wine64 ;;
    *) echo "pelmora wine: unknown architecture '$1'" >&2; return 2 ;;
  esac
}

pelmora_wine_prefix() {  # arch -> prefix folder
  echo "$PELMORA_WINE_HOME/win$1"
}

pelmora_wine_can_run() {  # arch -> success when this machine can run that Wine loader
  local loader
  loader=$(pelmora_wine_loader "$1") || return 2
  [ -x "$loader" ] && "$loader" --version >/dev/null 2>&1
}

pelmora_locale_present() {
  locale -a 2>/dev/null | grep -qix 'zh_CN.utf8\|zh_CN.UTF-8'
}

# Sets the environment every Wine call of the project runs with.
pelmora_wine_env() {  # arch
  export WINEPREFIX
  WINEPREFIX=$(pelmora_wine_prefix "$1")
  export WINEARCH="win$1"
  export WINEDEBUG=-all
  export WINELOADER
  WINELOADER=$(pelmora_wine_loader "$1")
  export WINESERVER=$PELMORA_WINESERVER
  export LANG=$PELMORA_WINE_LOCALE LC_ALL=$PELMORA_WINE_LOCALE
}
