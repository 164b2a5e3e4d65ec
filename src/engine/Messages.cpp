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

}  // namespace trx::messages
