# Shared by scripts/run and scripts/test: the Debian packages the build needs, installed when
# missing (as root), and the CMake steps.
set -euo pipefail

ZOV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ZOV_PACKAGES=(
  build-essential cmake pkg-config clang-format
  libsqlite3-dev libcpp-httplib-dev nlohmann-json3-dev libcli11-dev libfmt-dev libsodium-dev
  unixodbc-dev tdsodbc
  libgtest-dev libgmock-dev libbenchmark-dev librapidcheck-dev
)

zov_install_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages: ${missing[*]}" >&2
    echo "Install them as root: apt-get install -y ${missing[*]}" >&2
    return 1
  fi
  echo "Installing ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

zov_build() {  # zov_build PRESET [target...]
  local preset=$1
  shift
  cmake --preset "$preset" -S "$ZOV_ROOT" >/dev/null
  if [ $# -gt 0 ]; then
    cmake --build --preset "$preset" -j "$(nproc)" --target "$@"
  else
    cmake --build --preset "$preset" -j "$(nproc)"
  fi
}
