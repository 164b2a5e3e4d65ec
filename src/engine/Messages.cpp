// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Messages.h"

namespace trx::messages {

namespace {
std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}
}  // namespace

std::string DestinationUnreachable(const std::string& destination) {
    return "Einige Daten können nicht gesichert werden, da auf das Zielverzeichnis " + Quoted(destination) +
           " nicht zugegriffen werden kann.";
}

std::string DirectoryUnreachable(const std::string& directory) {
    return "Auf das Verzeichnis " + Quoted(directory) + " kann nicht zugegriffen werden.";
}

std::string SourceCancelled(const std::string& source) {
    return "Das Verzeichnis " + Quoted(source) +
           " konnte nicht vollständig gesichert werden, da der Vorgang vom Benutzer abgebrochen wurde.";
}

std::string SourceDone(const std::string& source, const std::string& size) {
    return "Das Verzeichnis " + Quoted(source) + " wurde gesichert. (" + size + ")";
}

std::string SourceFailed(const std::string& source) {
    return "Beim Sichern des Verzeichnisses " + Quoted(source) + " ist ein Fehler aufgetreten.";
}

std::string TargetUnreachable(const std::string& targetDirectory) {
    return DestinationUnreachable(targetDirectory);
}

std::string FileCopied(const std::string& sourceFile, const std::string& targetDirectory,
                       const std::string& size) {
    return "Die Datei " + Quoted(sourceFile) + " wurde erfolgreich nach " + Quoted(targetDirectory) +
           " kopiert. (" + size + ")";
}

std::string FileNotCopied(const std::string& sourceFile, const std::string& targetDirectory) {
    return "Die Datei " + Quoted(sourceFile) + " konnte nicht nach " + Quoted(targetDirectory) +
           " kopiert werden.";
}

std::string CaseClash(const std::string& source, const std::string& targetDirectory,
                      const std::string& kept) {
    const bool folder = !source.empty() && source.back() == '/';
    return std::string(folder ? "Das Verzeichnis " : "Die Datei ") + Quoted(source) + " wurde nicht nach " +
           Quoted(targetDirectory) + " kopiert: dort steht schon " + Quoted(kept) +
           ", und das Ziel unterscheidet Groß- und Kleinschreibung nicht.";
}

std::string NameNotHeld(const std::string& source, const std::string& targetDirectory) {
    const bool folder = !source.empty() && source.back() == '/';
    return std::string(folder ? "Das Verzeichnis " : "Die Datei ") + Quoted(source) + " wurde nicht nach " +
           Quoted(targetDirectory) +
           " kopiert: das Ziel lässt Punkte und Leerzeichen am Ende eines Namens weg.";
}

std::string DestinationKeepsLess(const std::string& destination, const std::string& missing) {
    return "Das Dateisystem von " + Quoted(destination) + " bewahrt keine " + missing +
           "; die Kopien dort erhalten sie nicht.";
}

std::string DestinationMissingHeldBack(const std::string& destination) {
    return "Das Zielverzeichnis " + Quoted(destination) +
           " wurde schon gesichert, ist aber nicht vorhanden (ist der Datenträger nicht eingehängt?). Es "
           "wurde "
           "nicht neu angelegt, und es wurde nichts gesichert.";
}

std::string DestinationEmptyHeldBack(const std::string& destination, std::uint64_t entries) {
    return "Das Zielverzeichnis " + Quoted(destination) + " ist leer, obwohl der Dateikatalog " +
           std::to_string(entries) +
           " gesicherte Einträge kennt (ist der Datenträger nicht eingehängt?). Es wurde nichts "
           "hineinkopiert. "
           "Soll es eine vollständige neue Sicherung erhalten, löschen Sie den Dateikatalog (Extras) oder "
           "geben Sie den Vorgang frei.";
}

std::string SourceEmptyHeldBack(const std::string& source, std::uint64_t entries) {
    return "Das Verzeichnis " + Quoted(source) + " ist leer, obwohl der Dateikatalog " +
           std::to_string(entries) +
           " Einträge kennt (ist der Datenträger nicht eingehängt?). Die Löschungen im Ziel wurden "
           "zurückgehalten; die Sicherungskopien bleiben erhalten.";
}

std::string FolderEmptyHeldBack(const std::string& folder, std::uint64_t entries) {
    return "Das Verzeichnis " + Quoted(folder) + " ist leer, obwohl der Dateikatalog " +
           std::to_string(entries) +
           " Einträge darin kennt (ist ein Datenträger nicht eingehängt?). Die Löschungen im Ziel wurden "
           "zurückgehalten; die Sicherungskopien bleiben erhalten.";
}

std::string FolderGoneHeldBack(const std::string& folder, std::uint64_t entries) {
    return "Das Verzeichnis " + Quoted(folder) +
           ", auf dem ein Datenträger eingehängt war, fehlt; der "
           "Dateikatalog kennt " +
           std::to_string(entries) +
           " Einträge darin. Die Löschungen im Ziel wurden zurückgehalten; die Sicherungskopien bleiben "
           "erhalten.";
}

std::string FolderReplacedHeldBack(const std::string& sourceFile, const std::string& targetFolder,
                                   std::uint64_t entries) {
    return "An die Stelle des Verzeichnisses ist die Datei " + Quoted(sourceFile) + " getreten. Die " +
           std::to_string(entries) + " gesicherten Einträge in " + Quoted(targetFolder) +
           " wurden nicht gelöscht und die Datei nicht kopiert; die Löschungen wurden zurückgehalten.";
}

std::string ManyDeletionsHeldBack(const std::string& source, std::uint64_t deletions, std::uint64_t known) {
    return "Für das Verzeichnis " + Quoted(source) + " wären " + std::to_string(deletions) + " von " +
           std::to_string(known) +
           " bekannten Einträgen im Ziel zu löschen. Die Löschungen wurden zurückgehalten; die "
           "Sicherungskopien bleiben erhalten.";
}

std::string HowToRelease() {
    return "Zurückgehaltene Vorgänge werden erst ausgeführt, wenn Sie sie freigeben: im Sicherungsfenster "
           "nach dem Ende der Sicherung, oder beim Start ohne Fenster mit dem Schalter /f.";
}

std::string DestinationBusy(const std::string& destination) {
    return "In das Zielverzeichnis " + Quoted(destination) +
           " schreibt gerade ein anderer Sicherungsvorgang. Es wurde diesmal übersprungen.";
}

std::string FileChangedWhileCopied(const std::string& sourceFile, const std::string& targetDirectory) {
    return "Die Datei " + Quoted(sourceFile) +
           " wurde während des Kopierens verändert und konnte nicht nach " + Quoted(targetDirectory) +
           " kopiert werden; die bisherige Kopie bleibt, der nächste Lauf kopiert sie "
           "erneut.";
}

std::string ProtocolIncomplete(const std::string& protocolFile, const std::string& reason) {
    return "Das Protokoll " + Quoted(protocolFile) + " konnte nicht vollständig geschrieben werden (" +
           reason + "); die Sicherung lief weiter.";
}

std::string DirectoryDeleted(const std::string& path) {
    return "Das Verzeichnis " + Quoted(path) + " wurde gelöscht.";
}

std::string FileDeleted(const std::string& path) {
    return "Die Datei " + Quoted(path) + " wurde gelöscht.";
}

std::string DirectoryNotDeleted(const std::string& path) {
    return "Das Verzeichnis " + Quoted(path) + " konnte nicht gelöscht werden.";
}

std::string FileNotDeleted(const std::string& path) {
    return "Die Datei " + Quoted(path) + " konnte nicht gelöscht werden.";
}

std::string VersionKept(const std::string& path, const std::string& version) {
    return "Die bisherige Kopie " + Quoted(path) + " wurde als frühere Version in " + Quoted(version) +
           " aufbewahrt.";
}

std::string VersionNotKept(const std::string& path) {
    return "Die bisherige Kopie " + Quoted(path) +
           " konnte nicht als frühere Version aufbewahrt werden; sie bleibt unverändert.";
}

std::string VersionsKept(int count) {
    return count == 1 ? std::string("1 frühere Version wurde aufbewahrt.")
                      : std::to_string(count) + " frühere Versionen wurden aufbewahrt.";
}

std::string VersionsRemoved(const std::string& folder) {
    return "Die früheren Versionen in " + Quoted(folder) + " wurden entfernt.";
}

std::string VersionsFolderMoved(const std::string& destination, const std::string& folder) {
    return "Eine Quelle legt einen Eintrag namens \".tresorix-versionen\" in " + Quoted(destination) +
           " an; frühere Versionen dieses Ziels werden deshalb in " + Quoted(folder) + " aufbewahrt.";
}

}  // namespace trx::messages
