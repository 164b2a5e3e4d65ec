#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# `make screenshots`: renders every window of the program in telling states into PNG files. Runs each
# built window test whose name contains "Screenshot" with TRX_SCREENSHOT_DIR set; those tests draw with
# the offscreen platform, so no display is needed.
# Usage: tools/screenshots.sh <build folder>
set -uo pipefail

build="${1:?build folder}"
out="$(cd "$build" && pwd)/screenshots"
mkdir -p "$out"

mapfile -t tests < <(find "$build" -type f -perm -u+x -name 'tst_*Screenshot*' | sort)
if [[ ${#tests[@]} -eq 0 ]]; then
    echo "Keine Screenshot-Tests in $build gefunden." >&2
    exit 1
fi

failed=0
for test in "${tests[@]}"; do
    echo "== $(basename "$test")"
    if ! TRX_SCREENSHOT_DIR="$out" QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 "$test" -platform offscreen -silent; then
        failed=1
    fi
done
echo "Bilder in $out:"
ls -1 "$out" | sed 's/^/    /'
exit $failed
