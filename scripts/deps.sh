#!/usr/bin/env bash
# Installs what the build and the tests need, then cross-builds the audio
# libraries and GoogleTest from Debian's sources into the build folder.
# Safe to run again: every step checks first and does nothing when done.
#   scripts/deps.sh [BUILD_DIR]     (default: <repo>/build)
# RAVELIN_JOBS=N builds with N parallel jobs (default: every core).
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
deps=$build/deps
prefix=$deps/prefix
log=$deps/log
mkdir -p "$deps" "$log"
. "$top/scripts/jobs.sh"

apt_pkgs=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-x86-64-dev cmake make wine wine64 xvfb xauth x11-utils
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly
  gstreamer1.0-tools googletest sox lame vorbis-tools imagemagick dpkg-dev clang-format)

missing=()
for p in "${apt_pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Install them with: sudo apt-get install ${missing[*]}" >&2
    exit 1
  fi
  echo "deps: installing ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >"$log/apt.log" 2>&1 \
    || { tail -n 30 "$log/apt.log" >&2; exit 1; }
fi

toolchain=$top/cmake/mingw-w64.cmake
stamp() { [ -f "$prefix/.$1.done" ]; }
done_stamp() { touch "$prefix/.$1.done"; }

# The source packages come from the machine's own Debian suite.
need_src=0
for s in soundtouch libvorbis libogg; do stamp "$s" || need_src=1; done
if [ $need_src = 1 ] && ! apt-get source --print-uris -qq libogg >/dev/null 2>&1; then
  if [ "$(id -u)" != 0 ]; then
    echo "No deb-src entry: add one for your Debian suite to /etc/apt/sources.list and run apt-get update" >&2
    exit 1
  fi
  . /etc/os-release
  uri=$(grep -hoE '^URIs: *[^ ]+' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n1 | awk '{print $2}')
  [ -n "$uri" ] || uri=$(grep -hoE '^deb +[^ ]+' /etc/apt/sources.list 2>/dev/null | head -n1 | awk '{print $2}')
  [ -n "$uri" ] || uri=http://deb.debian.org/debian
  echo "deps: adding deb-src $uri $VERSION_CODENAME"
  cat >/etc/apt/sources.list.d/ravelin-src.sources <<SRC
Types: deb-src
URIs: $uri
Suites: $VERSION_CODENAME
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  apt-get update -qq
fi

fetch() { # fetch NAME -> prints the unpacked source folder
  local name=$1 dir
  dir=$(ls -d "$deps/src/$name"-[0-9]*/ 2>/dev/null | head -n1 || true)
  if [ -z "$dir" ]; then
    echo "deps: fetching the source of $name" >&2
    mkdir -p "$deps/src"
    (cd "$deps/src" && apt-get source -qq "$name" >"$log/src-$name.log" 2>&1) \
      || { tail -n 20 "$log/src-$name.log" >&2; exit 1; }
    dir=$(ls -d "$deps/src/$name"-[0-9]*/ | head -n1)
  fi
  echo "${dir%/}"
}

cmake_dep() { # cmake_dep NAME SRC_DIR [cmake args...]
  local name=$1 src=$2; shift 2
  local bdir=$deps/build-$name
  echo "deps: building $name (once; its log is $log/$name.log)"
  cmake -S "$src" -B "$bdir" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DRAVELIN_DEPS_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
    -DCMAKE_POLICY_DEFAULT_CMP0074=NEW "$@" >"$log/$name.log" 2>&1 \
    && cmake --build "$bdir" -j"$jobs" >>"$log/$name.log" 2>&1 \
    && cmake --install "$bdir" >>"$log/$name.log" 2>&1 \
    || { tail -n 30 "$log/$name.log" >&2; exit 1; }
  done_stamp "$name"
}

mkdir -p "$prefix"
# Three independent chains, built side by side (each one -j as well).
(
  stamp libogg || cmake_dep libogg "$(fetch libogg)" -DINSTALL_DOCS=OFF
  stamp libvorbis || cmake_dep libvorbis "$(fetch libvorbis)"
) &
ogg=$!
(
  if ! stamp soundtouch; then
    st=$(fetch soundtouch)
    cmake_dep soundtouch "$st" -DINTEGER_SAMPLES=ON -DSOUNDSTRETCH=OFF -DSOUNDTOUCH_DLL=OFF -DOPENMP=OFF
    # The time-stretch stage is used directly, so its header (and the private
    # ones it includes) join the public ones.
    for h in TDStretch.h RateTransposer.h AAFilter.h; do
      cp "$st/source/SoundTouch/$h" "$prefix/include/soundtouch/"
    done
  fi
) &
st=$!
# The tests use GoogleTest alone, not its mocking half.
(stamp googletest || cmake_dep googletest /usr/src/googletest -Dgtest_disable_pthreads=OFF -DBUILD_GMOCK=OFF) &
gt=$!
failed=0
for job in $ogg $st $gt; do wait "$job" || failed=1; done
[ $failed = 0 ] || { echo "deps: a dependency failed to build (logs in $log)" >&2; exit 1; }
echo "deps: ready in $prefix"
