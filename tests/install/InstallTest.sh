#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs Tresorix into a staging folder (DESTDIR) and builds its Debian package into another one, then
# checks that every file is in place and valid and that the package holds exactly the installed files.
# Nothing is installed into the system: everything happens below a temporary folder.
# Usage: InstallTest.sh <build folder> <trx_example_project>
set -euo pipefail

build="${1:?build folder}"
example_project="${2:?trx_example_project}"

work=$(mktemp -d "${TMPDIR:-/tmp}/trx-install-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
stage="$work/stage"
usr="$stage/usr"

failures=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

app_id=de.tresorix.Tresorix
mime_type=application/x-tresorix-project

# Every file and link the installation holds, below the prefix.
expected=(
    "bin/tresorix -> trxmain"
    "bin/trxmain"
    "share/applications/$app_id.desktop"
    "share/doc/tresorix/copyright"
    "share/icons/hicolor/128x128/apps/tresorix.png"
    "share/icons/hicolor/16x16/apps/tresorix.png"
    "share/icons/hicolor/256x256/apps/tresorix.png"
    "share/icons/hicolor/32x32/apps/tresorix.png"
    "share/icons/hicolor/48x48/apps/tresorix.png"
    "share/icons/hicolor/64x64/apps/tresorix.png"
    "share/icons/hicolor/scalable/apps/tresorix.svg"
    "share/man/de/man1/tresorix.1.gz -> trxmain.1.gz"
    "share/man/de/man1/trxmain.1.gz"
    "share/man/man1/tresorix.1.gz -> trxmain.1.gz"
    "share/man/man1/trxmain.1.gz"
    "share/metainfo/$app_id.metainfo.xml"
    "share/mime/packages/$app_id.xml"
)
expected_list=$(printf '%s\n' "${expected[@]}" | LC_ALL=C sort)

# --- The staged installation --------------------------------------------------------------------------
echo "== cmake --install into $stage"
DESTDIR="$stage" cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; fail "cmake --install"; exit 1; }

installed_list=$(cd "$usr" && find . \( -type f -printf '%P\n' \) -o \( -type l -printf '%P -> %l\n' \) |
    LC_ALL=C sort)
if [[ -n "$(find "$stage" -mindepth 1 -maxdepth 1 ! -name usr)" ]]; then
    fail "files outside the prefix: $(find "$stage" -mindepth 1 -maxdepth 1 ! -name usr)"
fi
if [[ "$installed_list" != "$expected_list" ]]; then
    fail "installed files differ from the expected list:"
    diff <(echo "$expected_list") <(echo "$installed_list") >&2 || true
fi

# The program, under both names, runs from where it was installed (no link back into the build).
[[ -x "$usr/bin/trxmain" && ! -L "$usr/bin/trxmain" ]] || fail "bin/trxmain is no executable file"
[[ "$(readlink -f "$usr/bin/tresorix")" == "$(readlink -f "$usr/bin/trxmain")" ]] ||
    fail "bin/tresorix does not lead to trxmain"
if readelf -d "$usr/bin/trxmain" 2>/dev/null | grep -Eq 'RPATH|RUNPATH'; then
    fail "the installed program still carries a library path: $(readelf -d "$usr/bin/trxmain" | grep -E 'RPATH|RUNPATH')"
fi
"$example_project" "$work/example" >/dev/null
if env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr/bin/tresorix" "$work/example/Beispiel.buf" /h /s \
    </dev/null >"$work/run.log" 2>&1; then
    [[ -s "$work/example/Beispiel_Protocol.txt" ]] || fail "the installed program wrote no protocol"
else
    fail "the installed program could not back up the example project: $(cat "$work/run.log")"
fi

# --- Licence ------------------------------------------------------------------------------------------
echo "== copyright"
copyright="$usr/share/doc/tresorix/copyright"
head -1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file is not in the machine-readable format"
# Every licence a Files paragraph names has a paragraph of its own with its text.
standalone=$(awk -v RS= '/^License:/{print $2}' "$copyright")
while read -r license; do
    grep -qx "$license" <<<"$standalone" || fail "the copyright file names $license without its text"
done < <(awk -v RS= -F'\n' '/^Files:/{for (i = 1; i <= NF; i++) if ($i ~ /^License:/) {split($i, a, " "); print a[2]}}' \
    "$copyright" | sort -u)
grep -qx 'License: GPL-3.0-or-later' "$copyright" || fail "the copyright file does not name GPL-3.0-or-later"
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "the metainfo names no project licence"

# --- Menu entry ---------------------------------------------------------------------------------------
echo "== desktop-file-validate"
desktop="$usr/share/applications/$app_id.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate $app_id.desktop"
desktop_key() { sed -n "s/^$1=//p" "$desktop"; }
# The entry opens a project for editing: a file given alone would start an unattended run.
[[ "$(desktop_key Exec)" == "tresorix --open %f" ]] || fail "Exec is '$(desktop_key Exec)'"
[[ "$(desktop_key MimeType)" == "$mime_type;" ]] || fail "MimeType is '$(desktop_key MimeType)'"
for category in Utility Archiving; do
    [[ ";$(desktop_key Categories)" == *";$category;"* ]] || fail "Categories lacks $category"
done
[[ "$(desktop_key Icon)" == tresorix ]] || fail "Icon is '$(desktop_key Icon)'"

# --- Project file type --------------------------------------------------------------------------------
echo "== shared-mime-info"
mime_xml="$usr/share/mime/packages/$app_id.xml"
xmllint --noout "$mime_xml" || fail "the type definition is no well-formed XML"
# Built into a private database, as the package's trigger builds it into the system's.
mkdir -p "$work/share/mime/packages"
cp "$mime_xml" "$work/share/mime/packages/"
if ! XDG_DATA_DIRS="$work/share" update-mime-database "$work/share/mime" >"$work/mime.log" 2>&1 ||
    [[ -s "$work/mime.log" ]]; then
    fail "update-mime-database: $(cat "$work/mime.log")"
fi
grep -qx "50:$mime_type:\*\.buf" "$work/share/mime/globs2" || fail "*.buf is not globbed to $mime_type"
[[ ! -s "$work/share/mime/magic" ]] || ! grep -q "$mime_type" "$work/share/mime/magic" ||
    fail "the type carries a magic number; its first byte is far too common for one"
grep -q '<comment>Tresorix-Sicherungsprojekt</comment>' "$work/share/mime/$mime_type.xml" ||
    fail "the type has no German comment"

# --- Software centre metadata -------------------------------------------------------------------------
echo "== appstreamcli validate"
appstreamcli validate --no-net "$usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "appstreamcli validate $app_id.metainfo.xml"
# The whole tree: the launchable names the installed menu entry, the stock icon is installed.
appstreamcli validate-tree --no-net "$usr" || fail "appstreamcli validate-tree"

# --- Icons --------------------------------------------------------------------------------------------
echo "== icons"
xmllint --noout "$usr/share/icons/hicolor/scalable/apps/tresorix.svg" || fail "tresorix.svg is no XML"
for size in 16 32 48 64 128 256; do
    png="$usr/share/icons/hicolor/${size}x${size}/apps/tresorix.png"
    [[ -f "$png" ]] || continue
    signature=$(od -An -tx1 -N8 "$png" | tr -d ' \n')
    [[ "$signature" == 89504e470d0a1a0a ]] || fail "$png is no PNG"
    # Width and height: the first two fields of the IHDR chunk, big-endian.
    read -r width height < <(od -An -tu4 --endian=big -j16 -N8 "$png")
    [[ "$width" == "$size" && "$height" == "$size" ]] || fail "$png is ${width}x${height}"
done

# --- Manual pages -------------------------------------------------------------------------------------
echo "== manual pages"
for page in "$usr/share/man/man1/trxmain.1.gz" "$usr/share/man/de/man1/trxmain.1.gz"; do
    [[ -f "$page" ]] || continue
    gzip -t "$page" || fail "$page is no gzip file"
    # Formatted as man-db formats it; every groff warning counts.
    zcat "$page" | preconv | groff -man -ww -z -Tutf8 2>"$work/groff.log" || fail "groff $page"
    [[ ! -s "$work/groff.log" ]] || fail "groff warns about $page: $(cat "$work/groff.log")"
    text=$(zcat "$page" | preconv | groff -man -Tutf8 -P-cbou 2>/dev/null)
    for needle in "--open" "/s" "/h" "/a" "/p" "/t" "Summe" "_Protocol.txt" ".desktop" "OnCalendar=" "/h /s" "@PROJECT_VERSION@"; do
        if [[ "$needle" == "@PROJECT_VERSION@" ]]; then
            [[ "$text" != *"$needle"* ]] || fail "$page still holds $needle"
        else
            [[ "$text" == *"$needle"* ]] || fail "$page does not mention $needle"
        fi
    done
done

# --- Debian package -----------------------------------------------------------------------------------
echo "== cpack -G DEB"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack"; exit 1; }
debs=("$work"/package/tresorix_*.deb)
if [[ ${#debs[@]} -ne 1 || ! -f "${debs[0]}" ]]; then
    fail "cpack made no single tresorix_*.deb: ${debs[*]}"
    exit 1
fi
deb="${debs[0]}"
[[ "$(basename "$deb")" == "tresorix_$(dpkg-deb -f "$deb" Version)_$(dpkg --print-architecture).deb" ]] ||
    fail "package file name $(basename "$deb")"

# dpkg-deb -c: mode, owner, size, date, time, name [-> target]
dpkg-deb -c "$deb" >"$work/contents"
packed_list=$(awk '$1 !~ /^d/ { $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' "$work/contents" |
    sed 's|^\./usr/||' | LC_ALL=C sort)
if [[ "$packed_list" != "$expected_list" ]]; then
    fail "the package's files differ from the expected list:"
    diff <(echo "$expected_list") <(echo "$packed_list") >&2 || true
fi
awk '{ print $2, $6 }' "$work/contents" | grep -v '^root/root ' >&2 && fail "entries not owned by root"
awk '$6 !~ /^\.\/usr\// && $6 != "./" && $6 != "./usr/" { print $6 }' "$work/contents" | grep . >&2 &&
    fail "entries outside /usr"
grep -q '^-rwxr-xr-x .* \./usr/bin/trxmain$' "$work/contents" || fail "trxmain is not mode 0755"
awk '$1 ~ /^-/ && $6 != "./usr/bin/trxmain" && $1 != "-rw-r--r--" { print $1, $6 }' "$work/contents" |
    grep . >&2 && fail "data files not mode 0644"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
depends_names=$(echo "$depends" | tr ',' '\n' | sed 's/^ *//; s/[ (].*//')
for library in libqt6core6 libqt6gui6 libqt6widgets6 libqt6dbus6 libc6 libstdc++6; do
    # Debian after 12 renames some libraries with a "t64" suffix.
    grep -qxF -e "$library" -e "${library}t64" <<<"$depends_names" || fail "Depends lacks $library"
done
[[ "$depends" != *-dev* ]] || fail "Depends names a development package"
[[ "$(dpkg-deb -f "$deb" Package)" == tresorix ]] || fail "package name"
# Read into a variable first: with pipefail, "grep -q" ending the pipe early would fail it at random.
fields=$(dpkg-deb -f "$deb" Maintainer Description)
[[ -n "$fields" ]] || fail "no maintainer or description"

# The program in the package is stripped, as Debian installs programs.
mkdir "$work/unpacked"
dpkg-deb -x "$deb" "$work/unpacked"
sections=$(readelf -S "$work/unpacked/usr/bin/trxmain")
if grep -q '\.debug_info' <<<"$sections"; then
    fail "the packed trxmain carries debug information"
fi
cmp -s "$work/unpacked/usr/share/applications/$app_id.desktop" "$desktop" ||
    fail "the packed menu entry differs from the installed one"

if [[ $failures -ne 0 ]]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "installation and package complete"
