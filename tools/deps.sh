# Packages the builds and tests need on Debian 12; installs the missing ones.
TAVRIN_PACKAGES=(cmake ninja-build g++ libgtest-dev libgmock-dev googletest libbenchmark-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools
  wine wine64 xvfb xauth util-linux ccache clang-format fonts-ipafont-gothic xdotool x11-utils imagemagick
  nsis fonts-dejavu-core fonts-wine)

ensure_packages() {
  local missing=() p
  for p in "${TAVRIN_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing: ${missing[*]}"
  if [ "$(id -u)" != 0 ]; then echo "run as root to install the missing packages" >&2; return 1; fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q >/dev/null && apt-get install -y -q "${missing[@]}" >/dev/null
}
