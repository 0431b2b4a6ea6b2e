# Sourced by run.sh and test.sh: installs what a fresh Debian 12 machine lacks, and nothing
# when everything is there (a dpkg query per package, no network).
# shellcheck shell=bash
kestrune_packages=(
  cmake g++ googletest python3
  g++-multilib qemu-user
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-i686
  wine wine64 wine32:i386 fonts-wine
  xvfb xauth x11-utils fonts-ipafont-gothic fonts-ipafont-mincho locales imagemagick
  git zip unzip
)

ensure_deps() {
  local missing=() p
  for p in "${kestrune_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
      echo "Run as root (or install these packages yourself): ${missing[*]}" >&2
      return 1
    fi
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
  if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    if [ "$(id -u)" -eq 0 ]; then
      grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
      locale-gen >/dev/null
    else
      echo "The locale ja_JP.UTF-8 is missing (as root: locale-gen)." >&2
      return 1
    fi
  fi
}

# Configures one build tree with the given options. They are given every time (a second or
# less when nothing changed), so an option changed since the tree was made takes effect.
configure_tree() {
  local dir=$1
  shift
  cmake --no-warn-unused-cli -S "$KESTRUNE_ROOT" -B "$dir" "$@" >/dev/null
}

# Configures and builds one build tree.
build_tree() {
  configure_tree "$@"
  cmake --build "$1" -j "$(nproc)"
}
