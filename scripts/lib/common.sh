# Shared by scripts/demo and scripts/test: package checks and the build.

QUARRY_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
QUARRY_JOBS=$(nproc 2>/dev/null || echo 2)

# Packages needed to build the plug-in, the host tool and the demo.
QUARRY_BUILD_PACKAGES="cmake g++ make pkg-config libsndfile1-dev libcli11-dev libpng-dev zlib1g-dev
  libcairo2-dev libpango1.0-dev libx11-dev libxext-dev libxfixes-dev fonts-dejavu-core"
# Further packages the test suite and the benchmarks need.
QUARRY_TEST_PACKAGES="libgtest-dev libgmock-dev libbenchmark-dev libpixman-1-dev
  xvfb xauth libxtst-dev clang libclang-rt-14-dev binutils"

# ensure_packages PKG...: installs what is missing (as root), or prints the
# exact command to run and stops.
ensure_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "== Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq && apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null ||
      { echo "apt-get failed for: ${missing[*]}" >&2; exit 1; }
  else
    echo "Quarry needs these Debian packages. Install them, then run this again:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
}

# quarry_build DIR [cmake options...]: configures and builds into DIR.
quarry_build() {
  local dir=$1
  shift
  cmake -S "$QUARRY_ROOT" -B "$dir" "$@" >/dev/null || { echo "configure failed ($dir)" >&2; exit 1; }
  cmake --build "$dir" -j "$QUARRY_JOBS" || { echo "build failed ($dir)" >&2; exit 1; }
}
