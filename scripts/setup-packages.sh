# Installs the Debian packages the build and the tests need, when any is missing.
# Sourced by scripts/test and scripts/demo; runs as root on Debian 12.
velk_packages=(
  cmake ninja-build g++ clang python3 git
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  wine wine32:i386
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
