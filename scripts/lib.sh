# Shared by scripts/run and scripts/test: the Debian packages the build needs, installed when
# missing (as root), and the CMake steps.
set -euo pipefail

ZOV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ZOV_PACKAGES=(
  build-essential cmake pkg-config clang-format
  libsqlite3-dev libpq-dev libcpp-httplib-dev nlohmann-json3-dev libcli11-dev libfmt-dev
  libsodium-dev
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

# A throw-away PostgreSQL server for tests: a cluster in a new temporary folder, reached through a
# Unix socket in that folder only (no TCP port, so it meets no other server), run by an
# unprivileged user (the package's "postgres" user when we are root), fast rather than durable.
# On success sets ZOV_PG_DIR and ZOV_PG_LOCATION (the server's connection string); zov_pg_stop
# stops the server and removes the folder.
zov_pg_start() {
  local bin
  bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
  [ -n "$bin" ] && [ -x "$bin/initdb" ] || return 1
  ZOV_PG_DIR=$(mktemp -d /tmp/zov-pg.XXXXXX)
  ZOV_PG_BIN=$bin
  ZOV_PG_AS=()
  local as=()
  if [ "$(id -u)" -eq 0 ]; then
    id postgres >/dev/null 2>&1 || return 1
    chown postgres "$ZOV_PG_DIR"
    as=(runuser -u postgres --)
  fi
  "${as[@]}" "$bin/initdb" -D "$ZOV_PG_DIR/data" -E UTF8 --locale=C.UTF-8 -A trust -U zov \
    >"$ZOV_PG_DIR/initdb.log" 2>&1 || return 1
  "${as[@]}" "$bin/pg_ctl" -D "$ZOV_PG_DIR/data" -l "$ZOV_PG_DIR/server.log" -w -t 60 \
    -o "-k $ZOV_PG_DIR -p 5432 -c listen_addresses='' -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" \
    start >/dev/null 2>&1 || { tail -n 20 "$ZOV_PG_DIR/server.log" >&2; return 1; }
  ZOV_PG_BIN=$bin
  ZOV_PG_AS=("${as[@]}")
  ZOV_PG_LOCATION="postgresql://zov@/postgres?host=$ZOV_PG_DIR&port=5432"
}

zov_pg_stop() {
  [ -n "${ZOV_PG_DIR:-}" ] || return 0
  "${ZOV_PG_AS[@]}" "$ZOV_PG_BIN/pg_ctl" -D "$ZOV_PG_DIR/data" -m immediate stop >/dev/null 2>&1
  rm -rf "$ZOV_PG_DIR"
  ZOV_PG_DIR=""
}
