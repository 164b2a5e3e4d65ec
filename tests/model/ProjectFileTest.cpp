// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "model/ProjectFileError.h"
#include "support/Hex.h"

#include <gtest/gtest.h>
#include <random>

namespace trx {
namespace {

using test::Bytes;
using test::Hex;

std::string FilterBytes() {
    std::string hex = "09 01 00 06 01 00";
    for (int i = 0; i < 4; ++i) {
        hex += " 11 0000000000000000";
    }
    hex += std::string(2 * 32, '0') + " 06 00";
    return Bytes(hex);
}

std::string DefaultSetBytes(const char* transfer = "04") {
    return FilterBytes() + FilterBytes() + Bytes(std::string("09 09 09 06 01 ") + transfer + " 09 06 01 01");
}

// The state the options editor leaves in a new project's default set: level 1, names off.
void AsEditedByTheWindow(cProject& project) {
    project.Reset();
    project.DefaultOptions.TransferFlags = 0x04;
}

std::string ParseError(std::string_view data) {
    cProject project;
    try {
        ParseProject(project, data);
    } catch (const cProjectFileError& error) {
        return error.what();
    }
    return "";
}

TEST(ProjectFileWrite, AnEmptyProjectIs170Bytes) {
    cProject project;
    AsEditedByTheWindow(project);
    const std::string bytes = SerializeProject(project);
    EXPECT_EQ(bytes.size(), 170u);
    EXPECT_EQ(Hex(bytes), Hex(Bytes("01 00 01 00") + DefaultSetBytes() + Bytes("06 00 06 00")));
}

TEST(ProjectFileWrite, OneDestinationWithANeverRunSource) {
    cProject project;
    AsEditedByTheWindow(project);
    auto* dest = new cBackUpDestination(project, "C:\\B\\");
    new cBackUpSource("C:\\A\\", *dest);
    const std::string expected = Bytes("01 00 01 06 05") + "C:\\B\\" + Bytes("01 06 05") + "C:\\A\\" +
                                 Bytes("08 02 FF 00 00") + DefaultSetBytes() + Bytes("06 00 06 00");
    EXPECT_EQ(Hex(SerializeProject(project)), Hex(expected));
}

TEST(ProjectFileWrite, StringFormsFollowTheBytes) {
    cProject project;
    AsEditedByTheWindow(project);
    auto* dest = new cBackUpDestination(project, "/b/");
    new cBackUpSource(
        "/Eigene Dateien/B\xC3\xBC"
        "cher/",
        *dest);
    project.Comments = std::string(300, 'x');
    const std::string bytes = SerializeProject(project);
    EXPECT_NE(bytes.find(Bytes("14 18 00 00 00") + "/Eigene Dateien/B\xC3\xBC"
                                                   "cher/"),
              std::string::npos);
    EXPECT_NE(bytes.find(Bytes("06 03") + "/b/"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 305), Bytes("0C 2C 01 00 00") + std::string(300, 'x'));
}

TEST(ProjectFileWrite, TotalSizeAndItsCatalogue) {
    cProject project;
    auto* dest = new cBackUpDestination(project, "/b/");
    auto* small = new cBackUpSource("/s/", *dest);
    auto* large = new cBackUpSource("/l/", *dest);
    new cBackUpSource("/n/", *dest);
    small->TotalSize = 5000;
    small->Catalogue.Files = {"A.TXT"};
    small->Catalogue.GetChild("Sub")->Files = {"B"};
    large->TotalSize = 3000000000ull;
    auto* empty = new cBackUpSource("/e/", *dest);
    empty->Catalogue.Files = {"EMPTY.TXT"};  // no bytes counted, yet names: kept all the same

    const std::string bytes = SerializeProject(project);
    EXPECT_NE(bytes.find(Bytes("06 03") + "/s/" + Bytes("09 03 88 13 01 06 05") + "A.TXT" +
                         Bytes("00 01 06 03") + "Sub" + Bytes("01 06 01") + "B" + Bytes("00 01 00 00 02 FF")),
              std::string::npos)
        << Hex(bytes);
    EXPECT_NE(bytes.find(Bytes("06 03") + "/l/" + Bytes("09 13 00 5E D0 B2 00 00 00 00")), std::string::npos);
    EXPECT_NE(bytes.find(Bytes("06 03") + "/n/" + Bytes("08 02 FF")), std::string::npos);

    cProject loaded;
    ParseProject(loaded, bytes);
    const cBackUpDestination& d = *loaded.Destinations[0];
    EXPECT_EQ(d.Sources[0]->TotalSize, 5000u);
    EXPECT_EQ(d.Sources[0]->Catalogue.FindChild("Sub")->Files, std::vector<std::string>{"B"});
    EXPECT_EQ(d.Sources[1]->TotalSize, 3000000000ull);
    EXPECT_TRUE(d.Sources[2]->Catalogue.Files.empty());
    EXPECT_EQ(d.Sources[3]->TotalSize, 0u);
    EXPECT_EQ(d.Sources[3]->Catalogue.Files, std::vector<std::string>{"EMPTY.TXT"});
}

TEST(ProjectFileWrite, TransferFlagsAboveTheAsciiRangeUseCodePage1252) {
    cProject project;
    project.DefaultOptions.TransferFlags = 0x85;
    std::string bytes = SerializeProject(project);
    EXPECT_NE(bytes.find(Bytes("09 09 09 14 03 00 00 00 E2 80 A6 09")), std::string::npos) << Hex(bytes);
    cProject loaded;
    ParseProject(loaded, bytes);
    EXPECT_EQ(loaded.DefaultOptions.TransferFlags, 0x85);

    project.DefaultOptions.TransferFlags = 0x81;
    bytes = SerializeProject(project);
    EXPECT_NE(bytes.find(Bytes("09 09 09 14 02 00 00 00 C2 81 09")), std::string::npos) << Hex(bytes);
    ParseProject(loaded, bytes);
    EXPECT_EQ(loaded.DefaultOptions.TransferFlags, 0x81);

    for (int b = 0; b < 256; ++b) {
        project.DefaultOptions.Filters[0].Attributes = static_cast<std::uint8_t>(b);
        ParseProject(loaded, SerializeProject(project));
        EXPECT_EQ(loaded.DefaultOptions.Filters[0].Attributes, b);
    }
}

TEST(ProjectFileRoundTrip, KeepsEverythingAndSharesGroupSets) {
    cProject project;
    project.Description = "T\xC3\xA4glich";
    project.Comments = "Zeile 1\r\nZeile 2";
    project.DefaultOptions.Protocol = 2;
    auto* d1 = new cBackUpDestination(project, "/media/Sicherung/");
    auto* d2 = new cBackUpDestination(project, "/media/Zweit/");
    auto* s1 = new cBackUpSource("/home/a/", *d1);
    auto* s2 = new cBackUpSource("/home/b/", *d1);
    auto* s3 = new cBackUpSource("/home/c/", *d2);
    new cBackUpSource("/home/d/", *d2);
    auto* shared = new cBackUpOptions;
    shared->SubFolders = false;
    shared->TransferFlags = 0xFF;
    cFileFilter& in = shared->Filters[0];
    in.AllNoTypes = false;
    in.Types = {".TXT", ".DOC"};
    in.Attributes = 0x21;
    in.Dates[kModificationTime] = {46000.0, 46100.0};
    in.Dates[kCreationTime] = {0.0, 45000.0};
    in.Size1 = {true, 1024};
    in.Size2 = {true, 3145728};
    in.Mask = "Brief*.txt;*.doc";
    shared->Filters[1].Mask = "*.tmp";
    auto* own = new cBackUpOptions;
    own->Protocol = 0;
    s1->SetOptions(shared);
    s3->SetOptions(shared);
    s2->SetOptions(own);
    s1->TotalSize = 77;
    s1->Catalogue.GetChild("a/b/c")->Files = {"X", "Y"};

    const std::string bytes = SerializeProject(project);
    EXPECT_EQ(bytes.substr(bytes.size() - 31),
              Bytes("14 08 00 00 00") + "T\xC3\xA4glich" + Bytes("06 10") + "Zeile 1\r\nZeile 2");

    cProject loaded;
    ParseProject(loaded, bytes);
    ASSERT_EQ(loaded.Destinations.Count(), 2);
    const cBackUpDestination& l1 = *loaded.Destinations[0];
    const cBackUpDestination& l2 = *loaded.Destinations[1];
    ASSERT_EQ(l1.Sources.Count(), 2);
    ASSERT_EQ(l2.Sources.Count(), 2);
    EXPECT_EQ(l1.Sources[0]->Options, l2.Sources[0]->Options);
    EXPECT_EQ(l1.Sources[0]->Options->RefCount, 2);
    EXPECT_EQ(l1.Sources[1]->Options->RefCount, 1);
    EXPECT_EQ(l2.Sources[1]->Options, &loaded.DefaultOptions);
    EXPECT_TRUE(l1.Sources[0]->Options->SameSettings(*shared));
    EXPECT_TRUE(l1.Sources[1]->Options->SameSettings(*own));
    EXPECT_TRUE(loaded.DefaultOptions.SameSettings(project.DefaultOptions));
    EXPECT_EQ(loaded.Description, project.Description);
    EXPECT_EQ(loaded.Comments, project.Comments);
    EXPECT_EQ(l1.Sources[0]->Catalogue.GetPath(true), "/home/a/");
    EXPECT_EQ(l1.Sources[0]->Catalogue.GetChild("a/b/c")->Files, (std::vector<std::string>{"X", "Y"}));
    EXPECT_EQ(SerializeProject(loaded), bytes);
}

TEST(ProjectFileRead, AcceptsTheOtherEncodingsOfEachValue) {
    // Integer index in 4-byte form, Int64 size in 2-byte form, a date as an integer, a UTF-16 path, a
    // Boolean byte that is neither 08 nor 09 (false), and a UTF-16 Char.
    const std::string filter = FilterBytes();
    std::string data = Bytes("01 00 01 12 03 00 00 00 2F 00 FC 00 2F 00 01 06 03") + "/s/" +
                       Bytes("09 03 10 00 01 00 01 00 04 FF FF FF FF 00 00") + filter + filter +
                       Bytes("07 09 09 12 01 00 00 00 26 20 09 06 01 02 06 00 06 00");
    cProject project;
    ParseProject(project, data);
    ASSERT_EQ(project.Destinations.Count(), 1);
    EXPECT_EQ(project.Destinations[0]->Path, "/\xC3\xBC/");
    EXPECT_EQ(project.Destinations[0]->Sources[0]->TotalSize, 16u);
    EXPECT_EQ(project.Destinations[0]->Sources[0]->Options, &project.DefaultOptions);
    EXPECT_FALSE(project.DefaultOptions.SubFolders);
    EXPECT_EQ(project.DefaultOptions.TransferFlags, 0x85);  // U+2026 is 0x85 in code page 1252

    std::string withIntegerDate = Bytes("01 00 01 00") + Bytes("09 01 00 06 01 00 02 05");
    withIntegerDate += Bytes("11 0000000000000000 11 0000000000000000 11 0000000000000000");
    withIntegerDate +=
        std::string(32, '\0') + Bytes("06 00") + filter + Bytes("09 09 09 06 01 00 09 06 01 01 06 00 06 00");
    ParseProject(project, withIntegerDate);
    EXPECT_EQ(project.DefaultOptions.Filters[0].Dates[0].LaterThan, 5.0);
    EXPECT_EQ(project.Destinations.Count(), 0);
}

TEST(ProjectFileRead, ViolationsGiveTheirMessages) {
    const std::string valid = [] {
        cProject project;
        auto* dest = new cBackUpDestination(project, "/b/");
        new cBackUpSource("/a/", *dest);
        return SerializeProject(project);
    }();
    EXPECT_EQ(ParseError(valid), "");
    EXPECT_EQ(ParseError(Bytes("00") + valid.substr(1)), "Invalid property value");
    EXPECT_EQ(ParseError(""), "Stream read error");
    EXPECT_EQ(ParseError(valid.substr(0, 12)), "Stream read error");  // inside the destination list

    // The index of the source: 02 FF (-1). Point it at set 3 of an empty list, or at -2.
    const std::size_t index = valid.find(Bytes("08 02 FF")) + 2;
    std::string bad = valid;
    bad[index] = 3;
    EXPECT_EQ(ParseError(bad), "List index out of bounds (3)");
    bad[index] = static_cast<char>(0xFE);
    EXPECT_EQ(ParseError(bad), "List index out of bounds (-2)");

    // A string where the index belongs; a Char of two characters; an unknown list marker.
    bad = valid;
    bad[index - 1] = 0x06;
    EXPECT_EQ(ParseError(bad), "Invalid property value");
    const std::size_t protocol = valid.size() - 7;  // 06 01 01, then the two empty texts
    ASSERT_EQ(Hex(valid.substr(protocol)), "06 01 01 06 00 06 00");
    bad = valid.substr(0, protocol) + Bytes("06 02 01 01 06 00 06 00");
    EXPECT_EQ(ParseError(bad), "Invalid property value");
    bad = valid.substr(0, protocol) + Bytes("06 00 06 00 06 00");
    EXPECT_EQ(ParseError(bad), "Invalid property value");
    bad = valid.substr(0, protocol) + Bytes("14 06 00 00 00 E2 80 A6 E2 80 A6 06 00 06 00");
    EXPECT_EQ(ParseError(bad), "Invalid property value");
}

TEST(ProjectFileRead, BytesAfterTheCommentsAreIgnored) {
    cProject project;
    EXPECT_EQ(ParseError(SerializeProject(project) + "trailing garbage"), "");
}

TEST(ProjectFileRead, EveryCutOfARealFileIsAReadError) {
    cProject project;
    project.Description = "Beschreibung";
    auto* dest = new cBackUpDestination(project, "/media/Sicherung/");
    auto* source = new cBackUpSource("/home/benutzer/Eigene Dateien/", *dest);
    auto* group = new cBackUpOptions;
    group->Filters[0].Types = {".TXT"};
    group->TransferFlags = 0xFF;
    source->SetOptions(group);
    source->TotalSize = 99999;
    source->Catalogue.Files = {"A", "B\xC3\x9C"};
    source->Catalogue.GetChild("x/y")->Files = {"C"};
    new cBackUpSource("/home/zwei/", *dest);
    const std::string bytes = SerializeProject(project);
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        ASSERT_EQ(ParseError(bytes.substr(0, cut)), "Stream read error") << "cut at " << cut;
    }
    EXPECT_EQ(ParseError(bytes), "");
}

TEST(ProjectFileRead, LengthsBeyondTheFileAreNeverAllocated) {
    // A string of 4 GiB - 1 bytes announced in a file of a few bytes.
    EXPECT_EQ(ParseError(Bytes("01 00 01 0C FF FF FF FF")), "Stream read error");
    EXPECT_EQ(ParseError(Bytes("01 00 01 14 FF FF FF 7F 41")), "Stream read error");
    EXPECT_EQ(ParseError(Bytes("01 00 01 12 FF FF FF FF 41 00")), "Stream read error");
    EXPECT_EQ(ParseError(Bytes("01 00 01 06 FF 41")), "Stream read error");
}

std::string NestedCatalogue(int depth, const std::string& name) {
    cProject project;
    auto* dest = new cBackUpDestination(project, "/b/");
    new cBackUpSource("/a/", *dest);
    const std::string bytes = SerializeProject(project);
    const std::size_t at = bytes.find(Bytes("08 02 FF"));
    std::string nested = Bytes("09 02 01");
    for (int i = 0; i < depth; ++i) {
        nested += Bytes("01 00 01") + Bytes("06") + static_cast<char>(name.size()) + name;
    }
    nested += Bytes("01 00 01 00");
    for (int i = 0; i < depth; ++i) {
        nested += Bytes("00");
    }
    return bytes.substr(0, at) + nested + bytes.substr(at + 1);
}

TEST(ProjectFileRead, CatalogueNestingDeeperThanAnyPathIsRefused) {
    EXPECT_EQ(ParseError(NestedCatalogue(MaxCatalogueDepth(), "d")), "");
    EXPECT_EQ(ParseError(NestedCatalogue(MaxCatalogueDepth() + 1, "d")), "Invalid property value");
    EXPECT_EQ(ParseError(NestedCatalogue(100000, "d")), "Invalid property value");
    // Empty names stay on the same node but still count as nesting.
    EXPECT_EQ(ParseError(NestedCatalogue(100000, "")), "Invalid property value");
    // One name may hold many levels.
    std::string deepName;
    for (int i = 0; i < 100; ++i) {
        deepName += "a/";
    }
    EXPECT_EQ(ParseError(NestedCatalogue(MaxCatalogueDepth() / 100 + 1, deepName)), "Invalid property value");
}

TEST(ProjectFileRead, RandomAndMutatedBytesNeverCrash) {
    cProject project;
    auto* dest = new cBackUpDestination(project, "/b/");
    auto* source = new cBackUpSource("/a/", *dest);
    source->TotalSize = 5;
    source->Catalogue.GetChild("s")->Files = {"F"};
    source->SetOptions(new cBackUpOptions);
    const std::string valid = SerializeProject(project);

    std::mt19937 random(20261208);
    for (int round = 0; round < 20000; ++round) {
        std::string data;
        if (round % 2 == 0) {
            data = valid;
            const int flips = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < flips; ++i) {
                data[random() % data.size()] = static_cast<char>(random());
            }
        } else {
            data.resize(random() % 300);
            for (char& c : data) {
                c = static_cast<char>(random() % 24);  // mostly valid tags
            }
        }
        cProject target;
        try {
            ParseProject(target, data);
        } catch (const cProjectFileError&) {
        }
    }
}

TEST(ProjectFileRead, LoadingReplacesTheDestinationsAndFreesUnusedSets) {
    cProject source;
    auto* d = new cBackUpDestination(source, "/new/");
    auto* s = new cBackUpSource("/src/", *d);
    s->SetOptions(new cBackUpOptions);
    std::string bytes = SerializeProject(source);
    // Add a second option set nobody uses: it must not outlive the load (a leak checker watches).
    bytes = Bytes("01") + bytes.substr(1, bytes.find(Bytes("00 01 06 05")) - 1) +
            bytes.substr(1, bytes.find(Bytes("00 01 06 05")) - 1) +
            bytes.substr(bytes.find(Bytes("00 01 06 05")));

    cProject target;
    new cBackUpDestination(target, "/old/");
    ParseProject(target, bytes);
    ASSERT_EQ(target.Destinations.Count(), 1);
    EXPECT_EQ(target.Destinations[0]->Path, "/new/");
    EXPECT_EQ(target.Destinations[0]->Sources[0]->Options->RefCount, 1);
}

}  // namespace
}  // namespace trx
