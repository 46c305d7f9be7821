#!/usr/bin/env bash
# Sets up a Debian 12 machine for this project (installing only missing packages),
# builds everything, then plays the player or runs the whole test suite.
#   ./project.sh play [player options]   build, pack the demo show and play it (headless:
#                                         export it to a video file)
#   ./project.sh test                     build and run every test (ctest), then build them again
#                                         with AddressSanitizer and UndefinedBehaviorSanitizer
#                                         in build-asan/ and run them there
#   ./project.sh build                    set up and build only
#   ./project.sh tsan [gtest options]     build the engine tests with ThreadSanitizer in a
#                                         build folder of their own and run them
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev imagemagick libjpeg62-turbo-dev libpng-dev libjpeg-turbo-progs gifsicle libsdl2-dev libx11-dev libgles-dev libegl-dev libegl-mesa0 libgl1-mesa-dri xvfb x11-utils x11-xserver-utils xdotool xfonts-base libfreetype-dev libfontconfig-dev libharfbuzz-dev fonts-dejavu-core fonts-wqy-microhei libexiv2-dev libimage-exiftool-perl libmpg123-dev libvorbis-dev libavformat-dev libavcodec-dev libswresample-dev libswscale-dev libavutil-dev sox libsox-fmt-all lame vorbis-tools mpg123 ffmpeg pulseaudio pulseaudio-utils sound-theme-freedesktop alsa-utils libcups2-dev cups-daemon cups-client)
BUILD_DIR=${KIV_BUILD_DIR:-build}

install_packages() {
  local missing=()
  for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# KIV_WERROR=ON (the test command) turns warnings into errors. Targets given build only
# those (and what they need); none builds everything.
build() {
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIV_WERROR="${KIV_WERROR:-OFF}" >/dev/null
  if [ $# -gt 0 ]; then
    cmake --build "$BUILD_DIR" --target "$@"
  else
    cmake --build "$BUILD_DIR"
  fi
}

command=${1:-}
[ $# -gt 0 ] && shift
case "$command" in
  play)
    install_packages
    build kivplayer kivshow  # the tests and benchmarks wait for the test command
    # The demo show, packed into a copy of the player in the build folder.
    build_path=$(cd "$BUILD_DIR" && pwd)
    (cd examples/demo && "$build_path/kivshow" pack Project.kiv -o "$build_path/demo")
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
      exec "$build_path/demo" "$@"
    fi
    # No display: the demo is exported to a video file, picture and sound.
    "$build_path/kivshow" export "$build_path/demo" -o "$build_path/demo.mp4"
    echo "No display (DISPLAY and WAYLAND_DISPLAY are not set): the demo was exported headless."
    echo "It is in $build_path/demo.mp4"
    ;;
  test)
    install_packages
    KIV_WERROR=ON build
    ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$(nproc)"
    # The same suite under the address and undefined-behaviour sanitizers; any finding
    # ends its test with a failure. The benchmarks are left out.
    asan_dir=${KIV_ASAN_BUILD_DIR:-build-asan}
    cmake -S . -B "$asan_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIV_WERROR=ON \
      -DKIV_SANITIZE=address,undefined -DKIV_BENCH=OFF >/dev/null
    cmake --build "$asan_dir"
    ASAN_OPTIONS="detect_leaks=0 ${ASAN_OPTIONS:-}" UBSAN_OPTIONS="print_stacktrace=1 ${UBSAN_OPTIONS:-}" \
      ctest --test-dir "$asan_dir" --output-on-failure -j "$(nproc)"
    ;;
  build)
    install_packages
    build
    ;;
  tsan)
    install_packages
    tsan_dir=${KIV_TSAN_BUILD_DIR:-build-tsan}
    cmake -S . -B "$tsan_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIV_SANITIZE=thread -DKIV_BENCH=OFF >/dev/null
    cmake --build "$tsan_dir" --target engine_tests
    TSAN_OPTIONS="second_deadlock_stack=1 suppressions=$PWD/tests/tsan.supp ${TSAN_OPTIONS:-}" \
      "$tsan_dir/tests/engine/engine_tests" "$@"
    ;;
  *)
    echo "usage: $0 play [player options] | test | build | tsan [gtest options]" >&2
    exit 2
    ;;
esac
