#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# `make run`: starts Tresorix with the given arguments. Without arguments and without a display (a server,
# an SSH session, a container) the main window cannot open; instead this backs up a small example project
# unattended, shows its protocol and says how to run a project of one's own.
# Usage: tools/run.sh <build folder> [trxmain arguments ...]
set -uo pipefail

build="${1:?build folder}"
shift
program="$build/trxmain"

# The same test as the program's: a display is named and Qt is not told to draw off screen.
has_display() {
    case "${QT_QPA_PLATFORM:-}" in
        offscreen* | minimal* | vnc*) return 1 ;;
    esac
    [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]
}

if [[ $# -gt 0 ]] || has_display; then
    exec "$program" "$@"
fi

folder=$(mktemp -d "${TMPDIR:-/tmp}/tresorix-beispiel.XXXXXX") || exit 1
"$build/trx_example_project" "$folder" || exit 1

cat <<TEXT
Keine grafische Anzeige gefunden: das Hauptfenster kann hier nicht geöffnet werden.
Stattdessen läuft ein Beispielprojekt unbeaufsichtigt, so wie cron oder ein systemd-Timer es starten:

    $program $folder/Beispiel.buf /h /s

TEXT

"$program" "$folder/Beispiel.buf" /h /s
status=$?
case $status in
    0) meaning="Sicherung ohne Probleme abgeschlossen" ;;
    1) meaning="Projekt konnte nicht geladen werden" ;;
    2) meaning="Sicherung mit Problemen (siehe Protokoll) oder Projekt nicht gespeichert" ;;
    3) meaning="Sicherung abgebrochen" ;;
    *) meaning="unerwartet beendet" ;;
esac
echo "Exit-Status: $status ($meaning)"
echo
echo "Protokoll ($folder/Beispiel_Protocol.txt):"
tr -d '\r' <"$folder/Beispiel_Protocol.txt" | sed 's/^/    /'
echo
echo "Gesicherte Dateien:"
(cd "$folder/Sicherung" && find . -type f | sort | sed 's|^\./|    Sicherung/|')
cat <<TEXT

Das Beispiel liegt in $folder (Quellen/, Sicherung/, Beispiel.buf).
Ein eigenes Projekt sichern:       make run ARGS="/pfad/zum/projekt.buf /h /s"
oder direkt:                       $program /pfad/zum/projekt.buf /h /s
Mit grafischer Anzeige öffnet 'make run' das Hauptfenster.
TEXT
exit $status
