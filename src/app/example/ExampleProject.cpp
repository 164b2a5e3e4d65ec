// SPDX-License-Identifier: GPL-3.0-or-later
// Builds an example backup project in a folder: two source folders with nested files, one destination,
// and the project file "Beispiel.buf" with a detailed protocol. Used by `make run` where no display is
// available, to show an unattended run from start to end.
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "platform/PosixFileSystem.h"

#include <sys/stat.h>
#include <cerrno>
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>

namespace {

bool MakeDirectories(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
            return false;
        }
    }
    return true;
}

bool WriteFile(const std::string& path, const std::string& content) {
    if (!MakeDirectories(path.substr(0, path.rfind('/') + 1))) {
        return false;
    }
    std::ofstream out(path, std::ios::binary);
    out << content;
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || argv[1][0] != '/') {
        std::fprintf(stderr, "Aufruf: %s <absoluter Ordner>\n", argv[0]);
        return 1;
    }
    std::string folder = argv[1];
    if (folder.back() != '/') {
        folder += '/';
    }
    const std::string letters = folder + "Quellen/Briefe/";
    const std::string photos = folder + "Quellen/Fotos/";
    const bool written = WriteFile(letters + "Anfrage.txt", "Sehr geehrte Damen und Herren,\n") &&
                         WriteFile(letters + "Entwürfe/Kündigung.txt", "Hiermit kündige ich ...\n") &&
                         WriteFile(letters + "Entwürfe/alt/Notiz.txt", "Noch zu erledigen.\n") &&
                         WriteFile(photos + "Urlaub/2025/Strand.jpg", std::string(40000, 'x')) &&
                         WriteFile(photos + "Urlaub/2025/Berge.jpg", std::string(25000, 'y')) &&
                         WriteFile(photos + "Liste.csv", "Bild;Ort\nStrand.jpg;Rügen\n") &&
                         MakeDirectories(folder + "Sicherung/");
    if (!written) {
        std::fprintf(stderr, "Der Ordner %s kann nicht beschrieben werden.\n", folder.c_str());
        return 1;
    }

    trx::cProject project;
    project.Reset();
    project.DefaultOptions.Protocol = 2;  // every copied file in the protocol
    // Each source in a folder of its own name below the destination: Sicherung/Briefe/, Sicherung/Fotos/.
    project.DefaultOptions.TransferFlags = trx::EncodeTransferFlags(true, false, 1, false);
    project.Description = "Beispielprojekt";
    project.Comments = "Zwei Quellordner werden in einen Sicherungsordner kopiert.";
    auto* destination = new trx::cBackUpDestination(project, folder + "Sicherung/");
    new trx::cBackUpSource(letters, *destination);
    new trx::cBackUpSource(photos, *destination);
    try {
        trx::platform::PosixFileSystem fs;
        trx::SaveProject(project, folder + "Beispiel.buf", fs);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
