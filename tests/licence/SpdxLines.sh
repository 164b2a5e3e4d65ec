#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source file of the repository does not name its licence in its first line (the second
# after a "#!" line): C++ sources and headers, CMake files, the Makefile and scripts, tracked or new.
# Usage: SpdxLines.sh <source folder>
set -euo pipefail

root="${1:?source folder}"
cd "$root"
line='SPDX-License-Identifier: GPL-3.0-or-later'

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    files() { git ls-files -z --cached --others --exclude-standard; }
else
    files() { find . -path ./.git -prune -o -path './build*' -prune -o -type f -printf '%P\0'; }
fi

# The files that must carry the line: by name, or scripts by their "#!" line.
needs_line() {
    local file="$1"
    case "$file" in
        .ci/*) return 1 ;;  # the CI's own entry point
        *.cpp | *.h | *.cmake | *.sh | CMakeLists.txt | */CMakeLists.txt | Makefile) return 0 ;;
    esac
    [[ -f "$file" && "$(head -c 2 "$file" | tr -d '\0')" == '#!' ]]
}

missing=()
while IFS= read -r -d '' file; do
    [[ -f "$file" ]] || continue  # deleted, not yet committed
    needs_line "$file" || continue
    first=1
    [[ "$(head -c 2 "$file" | tr -d '\0')" == '#!' ]] && first=2
    grep -qF "$line" <(sed -n "${first}p" "$file") || missing+=("$file")
done < <(files)

if [[ ${#missing[@]} -gt 0 ]]; then
    echo "These files lack the line \"$line\" at their top:" >&2
    printf '    %s\n' "${missing[@]}" >&2
    exit 1
fi
echo "Every source file names its licence."
