#!/usr/bin/env bash
# Builds with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test, with leak
# detection on (tools/lsan.supp lists the libraries' own leaks, and only those); then runs the
# fuzz targets for a bounded number of inputs each.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCT_SANITIZE=ON -DCT_BUILD_TESTS=ON >/dev/null
cmake --build build-test
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-test --output-on-failure -j "$(nproc)"

# The readers fuzzed: built with clang in build-fuzz/, each target run on its seeds and regression
# inputs for a fixed number of inputs (fuzz/CMakeLists.txt).
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCT_FUZZ=ON \
    -DCT_BUILD_TESTS=OFF >/dev/null
cmake --build build-fuzz --target fuzzers
ctest --test-dir build-fuzz --output-on-failure -j "$(nproc)"
