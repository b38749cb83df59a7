# shellcheck shell=bash
# Installs the Debian 12 packages the build and the tests need, when any is
# missing. Sourced by scripts/test.

kelvara_packages=(
  g++ cmake ninja-build clang-format git
  g++-mingw-w64-x86-64-posix
  wine wine64 xvfb
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  zlib1g-dev libz-mingw-w64-dev nlohmann-json3-dev
)

# Runs apt-get as root: directly, or through sudo for a normal user.
as_root() {
  if [[ $(id -u) -eq 0 ]]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    echo "scripts/test: installing packages needs root (or sudo): $*" >&2
    return 1
  fi
}

install_missing_packages() {
  local missing=() package
  for package in "${kelvara_packages[@]}"; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
  done
  if [[ ${#missing[@]} -eq 0 ]]; then
    echo "packages: all present"
    return 0
  fi
  echo "packages: installing ${missing[*]}"
  as_root apt-get update
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}
