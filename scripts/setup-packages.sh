# Installs the Debian packages the build and the tests need, when any is missing.
# Sourced by scripts/test and scripts/demo; runs as root on Debian 12.
# 32-bit Wine (wine32:i386) is added by velk_install_packages only where the
# kernel runs 32-bit code.
velk_packages=(
  cmake ninja-build g++ clang python3 git
  gcc-multilib g++-multilib qemu-user
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64
  xvfb xdotool imagemagick x11-utils
  googletest libgtest-dev libbenchmark-dev libstb-dev libsdl2-image-dev
)
velk_wine32_package=wine32:i386
# apt-get update: tries, and the pause between them in seconds.
: "${VELK_APT_TRIES:=3}"
: "${VELK_APT_PAUSE:=5}"

# True where the kernel runs 32-bit x86 code: a 93-byte i386 program that
# only calls exit(0) is executed; elsewhere exec fails with ENOEXEC. Needs no
# Wine and no package.
velk_runs_32bit() {
  local dir probe status
  dir=$(mktemp -d "${TMPDIR:-/tmp}/velk-probe.XXXXXX") || return 1
  probe="$dir/exit0"
  # ELF header, one loadable segment at 0x08048000, then: mov eax,1; xor ebx,ebx; int 0x80
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'\
'\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'\
'\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'\
'\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'\
'\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'\
'\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' > "$probe"
  chmod +x "$probe"
  ( "$probe" ) >/dev/null 2>&1 </dev/null
  status=$?
  rm -rf "$dir"
  [ "$status" -eq 0 ]
}

velk_package_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# A mirror may be in the middle of a sync: a few tries with a pause; when some
# index still fails, the lists already there may be enough for the install.
velk_apt_update() {
  local try
  for ((try = 1; try <= VELK_APT_TRIES; try++)); do
    $velk_sudo apt-get update -qq && return 0
    [ "$try" -lt "$VELK_APT_TRIES" ] && sleep "$VELK_APT_PAUSE"
  done
  echo "apt-get update still reports failed indexes; trying the install with the package lists there are."
}

velk_apt_install() {
  DEBIAN_FRONTEND=noninteractive $velk_sudo apt-get install -y -qq --no-install-recommends "$@"
}

velk_install_packages() {
  local wanted=("${velk_packages[@]}") missing=() p runs32=0
  velk_sudo=""
  [ "$(id -u)" -eq 0 ] || velk_sudo=sudo
  if velk_runs_32bit; then
    runs32=1
    wanted+=("$velk_wine32_package")
  fi
  for p in "${wanted[@]}"; do
    velk_package_installed "$p" || missing+=("$p")
  done
  if [ "$runs32" -eq 0 ] && ! velk_package_installed "$velk_wine32_package"; then
    echo "This machine runs no 32-bit code: $velk_wine32_package is left out; the Windows tests run on the 64-bit build."
  fi
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  [ "$runs32" -eq 1 ] && $velk_sudo dpkg --add-architecture i386
  velk_apt_update
  velk_apt_install "${missing[@]}" && return 0
  # Without 32-bit Wine the Windows tests still run, on the 64-bit build.
  local rest=()
  for p in "${missing[@]}"; do
    [ "$p" = "$velk_wine32_package" ] || rest+=("$p")
  done
  if [ ${#rest[@]} -lt ${#missing[@]} ]; then
    if [ ${#rest[@]} -eq 0 ] || velk_apt_install "${rest[@]}"; then
      echo "$velk_wine32_package cannot be installed here: the Windows tests run on the 64-bit build."
      return 0
    fi
    missing=("${rest[@]}")
  fi
  echo "Could not install: ${missing[*]}" >&2
  echo "Retry with: ${velk_sudo:+$velk_sudo }apt-get update && ${velk_sudo:+$velk_sudo }apt-get install --no-install-recommends ${missing[*]}" >&2
  return 1
}

# Whether the 32-bit Wine installed here starts: the kernel runs 32-bit code and wine32 is there.
velk_wine32_works() {
  velk_runs_32bit && [ -x /usr/lib/wine/wine ] && timeout 20 /usr/lib/wine/wine --version >/dev/null 2>&1 </dev/null
}

# The Windows builds whose tests Wine runs here. Where a working 32-bit Wine
# runs the launcher as shipped: "win32 win64", the 32-bit build and beside it
# its 64-bit twin (what machines without 32-bit code run, so that a fault in
# the twin's path shows wherever one works). Elsewhere "win64" alone.
# VELK_WINE_BUILDS gives the list by hand, VELK_WINE_ARCH a single build.
velk_wine_builds() {
  if [ -n "${VELK_WINE_BUILDS:-}" ]; then
    echo "$VELK_WINE_BUILDS"
  elif [ -n "${VELK_WINE_ARCH:-}" ]; then
    echo "$VELK_WINE_ARCH"
  elif velk_wine32_works; then
    echo "win32 win64"
  else
    echo win64
  fi
}

# The one build Wine runs here for the demo: the first of them.
velk_wine_build() {
  local builds
  builds=$(velk_wine_builds)
  echo "${builds%% *}"
}
