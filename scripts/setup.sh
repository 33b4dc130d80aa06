#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine and builds the project.
#   setup.sh run    install what is missing, build, start the viewer
#   setup.sh test   install what is missing, build and run every test
set -euo pipefail

mode=${1:-}
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

packages=(cmake ninja-build g++ clang libclang-rt-14-dev libomp-14-dev libgtest-dev
          libbenchmark-dev qtbase5-dev libqwt-qt5-dev libcups2-dev xvfb xauth xdotool
          x11-xserver-utils)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
}

configure_and_build() {  # dir, cmake options...
  local dir=$1; shift
  cmake -S "$root" -B "$root/$dir" -G Ninja "$@" >/dev/null
  cmake --build "$root/$dir" -j "$jobs"
}

passed=0
failed=0
skipped=0
print_counts() {
  echo "tests: $passed passed, $failed failed, $skipped skipped"
}
run_ctest() {  # dir; adds its counts to the totals (set -e stops on a failure after the count)
  local log
  log=$(mktemp)
  local status=0
  ctest --test-dir "$root/$1" --output-on-failure -j "$jobs" | tee "$log" || status=$?
  local total bad skips
  total=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -n 1)
  bad=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed.*/\1/p' "$log" | tail -n 1)
  # CTest counts a skipped test among the passed ones; it lists it once more as not run.
  skips=$(sed -n '/^The following tests did not run:$/,/^$/p' "$log" | grep -c '(Skipped)$' || true)
  rm -f "$log"
  passed=$((passed + ${total:-0} - ${bad:-0} - skips))
  failed=$((failed + ${bad:-0}))
  skipped=$((skipped + skips))
  if [ "$status" -ne 0 ]; then
    print_counts
    return "$status"
  fi
}

run_tests() {
  configure_and_build build -DCMAKE_BUILD_TYPE=Release
  QT_QPA_PLATFORM=offscreen run_ctest build

  echo "== unit and window tests under AddressSanitizer + UndefinedBehaviorSanitizer"
  configure_and_build build-sanitize -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
    -DTAVRO_SANITIZE=ON -DTAVRO_QT=ON -DTAVRO_BENCH=OFF
  # Qt keeps part of what it sets up until the process ends; the suppressions name its
  # functions, which only the slow unwinder sees in the stack of an allocation.
  QT_QPA_PLATFORM=offscreen \
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:fast_unwind_on_malloc=0 \
    LSAN_OPTIONS=suppressions=$root/tests/platform/qt/lsan_suppressions.txt \
    UBSAN_OPTIONS=print_stacktrace=1 run_ctest build-sanitize

  echo "== fuzzing the decoder, the sensitivity text and the derived files"
  configure_and_build build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DTAVRO_FUZZ=ON -DTAVRO_QT=OFF -DTAVRO_TESTS=OFF -DTAVRO_BENCH=OFF
  "$root/scripts/fuzz.sh" "$root/build-fuzz" 20
  print_counts
}

case "$mode" in
  run)
    install_missing
    configure_and_build build -DCMAKE_BUILD_TYPE=Release
    exec "$root/build/src/app/tavro-x"
    ;;
  test)
    install_missing
    run_tests
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
