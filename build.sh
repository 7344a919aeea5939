#!/usr/bin/env bash
# Builds, runs and tests Varigap.
#   bash build.sh run        build, then analyse the bundled trnL-F example
#   bash build.sh test       build, then run every test
#   bash build.sh sanitize   build in build-asan with AddressSanitizer and UBSan, run every test
#   bash build.sh tsan       build in build-tsan with ThreadSanitizer, run the threaded (batch) tests
#   bash build.sh bench      build, then run the benchmarks (installs cutadapt and seqkit)
#   bash build.sh package    build, then make the Debian package in build/package
#   bash build.sh fuzz [S]   build the libFuzzer harnesses with clang in build-fuzz, run each for S seconds (60)
set -euo pipefail
cd "$(dirname "$0")"
jobs=$(nproc)
# The compiler cache takes paths relative to the checkout, so that a fresh clone elsewhere (CI's)
# finds what a build of another checkout left in it.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"

configure() {  # configure DIR [cmake options...]
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
}

case "${1:-}" in
  run)
    scripts/install-deps.sh
    configure build -DCMAKE_BUILD_TYPE=Release
    cmake --build build -j "$jobs"
    scripts/run-example.sh build
    ;;
  test)
    scripts/install-deps.sh
    configure build -DCMAKE_BUILD_TYPE=Release
    cmake --build build -j "$jobs"
    ctest --test-dir build --output-on-failure -j "$jobs"
    ;;
  sanitize)
    scripts/install-deps.sh
    configure build-asan -DCMAKE_BUILD_TYPE=Debug -DVARIGAP_SANITIZE=address,undefined -DVARIGAP_BENCH=OFF
    cmake --build build-asan -j "$jobs"
    export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp
    ctest --test-dir build-asan --output-on-failure -j "$jobs"
    ;;
  tsan)
    # Threads meet only in the batch command line (-j): its tests run the program as a process.
    scripts/install-deps.sh
    configure build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARIGAP_SANITIZE=thread -DVARIGAP_GUI=OFF -DVARIGAP_BENCH=OFF
    cmake --build build-tsan -j "$jobs" --target varigap-cli varigap_cli_tests
    export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
    ctest --test-dir build-tsan --output-on-failure -j "$jobs" -R '^Cli'
    ;;
  bench)
    scripts/install-deps.sh --bench
    configure build -DCMAKE_BUILD_TYPE=Release
    cmake --build build -j "$jobs"
    scripts/bench.sh build
    ;;
  package)
    scripts/install-deps.sh
    configure build -DCMAKE_BUILD_TYPE=Release
    cmake --build build -j "$jobs"
    (cd build && cpack -G DEB)
    ls build/package/*.deb
    ;;
  fuzz)
    scripts/install-deps.sh --fuzz
    configure build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARIGAP_FUZZ=ON \
      -DVARIGAP_GUI=OFF -DVARIGAP_TESTS=OFF -DVARIGAP_BENCH=OFF
    cmake --build build-fuzz -j "$jobs"
    scripts/run-fuzz.sh build-fuzz "${2:-60}"
    ;;
  *)
    sed -n '2,9p' "$0"; exit 2 ;;
esac
