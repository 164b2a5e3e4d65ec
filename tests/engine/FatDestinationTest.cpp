// SPDX-License-Identifier: GPL-3.0-or-later
// Backups onto the usual USB disk: a FAT or exFAT image mounted through FUSE (as root; skipped with the
// reason elsewhere). Refused permission changes are no failures, names that differ only in case never
// overwrite each other, what the disk cannot hold is reported by name and leaves nothing behind.
#include "RunFixture.h"

#include "support/ScopedImageMount.h"

#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>

namespace trx {
namespace {

using test::ScopedImageMount;

struct FatCase {
    ScopedImageMount::Kind kind;
    const char* name;
};

class FatDestinationTest : public test::RunFixture, public ::testing::WithParamInterface<FatCase> {};

int CountContaining(const std::vector<std::string>& lines, const std::string& part) {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(part) != std::string::npos;
    }));
}

TEST_P(FatDestinationTest, KeepsWhatTheDiskCanHoldAndReportsTheRestByName) {
    const std::string mnt = tmp.MakeDir("mnt");
    ScopedImageMount disk(GetParam().kind, tmp / "disk.img", mnt);
    if (!disk.Mounted()) {
        GTEST_SKIP() << disk.Why();
    }
    const std::string usb = mnt + "Sicherung/";
    auto* destination = new cBackUpDestination(project, usb);
    new cBackUpSource(src, *destination);
    for (const auto& [name, mode] : std::vector<std::pair<std::string, unsigned>>{
             {"group.txt", 0664}, {"all.txt", 0666}, {"tool", 0775}, {"Privat/brief.txt", 0600}}) {
        ::chmod(tmp.WriteFile("src/" + name, name).c_str(), mode);
    }
    ::chmod((src + "Privat").c_str(), 0700);
    tmp.WriteFile("src/Bericht.txt", "upper");
    tmp.WriteFile("src/bericht.txt", "lower");
    tmp.WriteFile("src/a:b.txt", "colon");
    ::symlink("tool", (src + "link").c_str());

    for (int round = 0; round < 2; ++round) {
        run.ProblemCount = 0;
        const auto lines = Run(destination);
        SCOPED_TRACE(round);
        EXPECT_EQ(CountContaining(lines, "erfolgreich"), round == 0 ? 5 : 0);
        EXPECT_EQ(test::ReadWholeFile(usb + "Bericht.txt"), "upper");
        EXPECT_TRUE(Contains(lines, "Die Datei \"" + src + "bericht.txt\" wurde nicht nach \"" + usb +
                                        "\" kopiert: dort steht schon \"Bericht.txt\", und das Ziel "
                                        "unterscheidet Groß- und Kleinschreibung nicht."));
        EXPECT_TRUE(Contains(
            lines, "Die Datei \"" + src + "link\" konnte nicht nach \"" + usb + "\" kopiert werden."));
        EXPECT_TRUE(Contains(
            lines, "Die Datei \"" + src + "a:b.txt\" konnte nicht nach \"" + usb + "\" kopiert werden."));
        EXPECT_EQ(CountContaining(lines,
                                  "bewahrt keine Zugriffsrechte, Besitzer, erweiterten Attribute samt "
                                  "ACLs und symbolische Verknüpfungen"),
                  1);
        EXPECT_EQ(run.ProblemCount, 3);
    }
    EXPECT_EQ(test::ReadWholeFile(usb + "Privat/brief.txt"), "Privat/brief.txt");
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(usb)) {
        if (entry.path().filename().string().find(".trx-") != std::string::npos) {
            left.push_back(entry.path().filename().string());
        }
    }
    EXPECT_TRUE(left.empty()) << left.front();
}

INSTANTIATE_TEST_SUITE_P(Disks, FatDestinationTest,
                         ::testing::Values(FatCase{ScopedImageMount::Kind::Fat, "Fat"},
                                           FatCase{ScopedImageMount::Kind::ExFat, "ExFat"}),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace trx
