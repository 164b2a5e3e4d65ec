#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The checks 'make test' runs beyond the normal test build:
#   1. the core tests (platform, model, engine) under AddressSanitizer and UndefinedBehaviorSanitizer;
#   2. for the run's worker threads, under ThreadSanitizer: the core tests, the program's process tests (the
#      kill tests among them) and a short soak of unattended runs of the sanitized program;
#   3. the project reader's fuzz target: its seeds and kept regression inputs, then a short fuzzing round.
# Any sanitizer report, crash, leak, hang or excessive allocation fails the run.
#   tools/test-checked.sh                 both
#   tools/test-checked.sh fuzz SECONDS    only build the fuzz target and fuzz for that long, keeping any
#                                         input that fails as a regression input in tests/fuzz/regressions
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}

build_fuzz() {
    if [[ ! -f build-fuzz/build.ninja ]]; then
        CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
              -DTRX_BUILD_UI=OFF -DTRX_BUILD_BENCH=OFF -DTRX_FUZZ=ON >/dev/null
    fi
    cmake --build build-fuzz -j "$jobs"
}

if [[ ${1:-} == fuzz ]]; then
    build_fuzz
    exec build-fuzz/tests/fuzz/fuzz_project_reader -rss_limit_mb=1024 -malloc_limit_mb=64 -timeout=10 \
        -max_len=65536 -max_total_time="${2:-600}" -artifact_prefix=tests/fuzz/regressions/ \
        build-fuzz/tests/fuzz/corpus tests/fuzz/seeds tests/fuzz/regressions
fi

if [[ ! -f build-asan/build.ninja ]]; then
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTRX_BUILD_UI=OFF -DTRX_BUILD_BENCH=OFF \
          -DTRX_SANITIZE=ON >/dev/null
fi
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j "$jobs"

# Everything but the windows, whose tests would mostly exercise the toolkit, which is not instrumented.
if [[ ! -f build-tsan/build.ninja ]]; then
    cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRX_SANITIZE_THREADS=ON >/dev/null
fi
cmake --build build-tsan -j "$jobs" --target test_platform test_model test_engine test_app trxmain trxsoak
export TSAN_OPTIONS="halt_on_error=1 exitcode=66 second_deadlock_stack=1 suppressions=$PWD/tools/tsan.supp"
ctest --test-dir build-tsan --output-on-failure -j "$jobs" -L 'core|app'
soak=$(mktemp -d /tmp/trx-tsan-soak.XXXXXX)
build-tsan/trxsoak "$soak" 30 build-tsan/trxmain 7
rm -rf "$soak"
unset TSAN_OPTIONS

build_fuzz
ctest --test-dir build-fuzz --output-on-failure
