# Installs the Debian packages the build and the tests need, when any is missing.
# Sourced by scripts/test and scripts/demo; runs as root on Debian 12.
velk_packages=(
  cmake ninja-build g++ clang python3 git
  gcc-multilib g++-multilib qemu-user
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine32:i386 wine64
  xvfb xdotool imagemagick x11-utils
  googletest libbenchmark-dev libstb-dev libsdl2-image-dev
)

velk_install_packages() {
  local missing=()
  for p in "${velk_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo dpkg --add-architecture i386
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The Windows build that Wine can run here: "win32" (the launcher as shipped)
# where the kernel runs 32-bit code, else "win64", the same sources built for
# 64-bit Windows (some virtual machines refuse every 32-bit executable, and
# Wine's 32-bit loader with it). VELK_WINE_ARCH chooses by hand.
velk_wine_build() {
  if [ -n "${VELK_WINE_ARCH:-}" ]; then
    echo "$VELK_WINE_ARCH"
  elif timeout 20 /usr/lib/wine/wineserver32 --version >/dev/null 2>&1; then
    echo win32
  else
    echo win64
  fi
}
