// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FilterCriteria.h"
#include "engine/InvalidMaskError.h"
#include "platform/LocalTime.h"

#include <gtest/gtest.h>

namespace trx {
namespace {

cFileInputs File(std::string_view name, std::uint8_t attributes = kAttrArchive, std::uint64_t size = 100) {
    cFileInputs file;
    file.SetName(name);
    file.Attributes = attributes;
    file.Size = size;
    file.ModificationDate = file.CreationDate = platform::ToDayNumber({2026, 3, 15, 12, 0, 0, 0});
    return file;
}

double Day(int year, int month, int day, int hour = 0, int minute = 0) {
    return platform::ToDayNumber({year, month, day, hour, minute, 0, 0});
}

class FileFilterTest : public ::testing::Test {
protected:
    cBackUpOptions options;
    cFileFilter& include = options.Filters[0];
    cFileFilter& exclude = options.Filters[1];

    bool Passes(const cFileInputs& file) {
        return PassesNameTests(options, file) && PassesDateAndSizeTests(options, file);
    }
};

TEST(FileInputs, ExtensionFromTheLastDotInAsciiUpperCase) {
    cFileInputs file;
    file.SetName("archive.tar.gz");
    EXPECT_EQ(file.Extension, ".GZ");
    file.SetName("Brief.txt");
    EXPECT_EQ(file.Name, "Brief.txt");
    EXPECT_EQ(file.Extension, ".TXT");
    file.SetName("README");
    EXPECT_EQ(file.Extension, "");
    file.SetName("bild.jpä");
    EXPECT_EQ(file.Extension, ".JPä");
    file.SetName(".bashrc");
    EXPECT_EQ(file.Extension, ".BASHRC");
}

TEST_F(FileFilterTest, NewFiltersLetEveryFileThrough) {
    for (const char* name : {"a.txt", "README", ".hidden", "x\xFF.bin"}) {
        for (std::uint8_t attributes : {0x00, 0x01, 0x02, 0x21}) {
            EXPECT_TRUE(Passes(File(name, attributes, 0))) << name;
        }
    }
}

TEST_F(FileFilterTest, TypeListsInBothRoles) {
    include.AllNoTypes = false;
    include.Types = {".txt", ".DOC"};
    EXPECT_TRUE(PassesNameTests(options, File("Brief.TXT")));
    EXPECT_TRUE(PassesNameTests(options, File("brief.doc")));
    EXPECT_FALSE(PassesNameTests(options, File("archive.tar.gz")));
    EXPECT_FALSE(PassesNameTests(options, File("README")));  // no extension: in no list

    include.AllNoTypes = true;
    exclude.Types = {".TMP"};  // kept, but switched off by AllNoTypes
    EXPECT_TRUE(PassesNameTests(options, File("x.tmp")));
    exclude.AllNoTypes = false;
    EXPECT_FALSE(PassesNameTests(options, File("x.tmp")));
    EXPECT_TRUE(PassesNameTests(options, File("x.tmp.keep")));
    EXPECT_TRUE(PassesNameTests(options, File("README")));
}

TEST_F(FileFilterTest, AttributesMustAllBeSet) {
    include.Attributes = kAttrReadOnly | kAttrArchive;
    EXPECT_FALSE(PassesNameTests(options, File("a", kAttrArchive)));
    EXPECT_TRUE(PassesNameTests(options, File("a", kAttrArchive | kAttrReadOnly | kAttrHidden)));

    include.Attributes = 0;
    exclude.Attributes = kAttrHidden;
    EXPECT_FALSE(PassesNameTests(options, File(".a", kAttrHidden)));
    EXPECT_FALSE(PassesNameTests(options, File(".a", kAttrHidden | kAttrSystem)));
    EXPECT_TRUE(PassesNameTests(options, File("a", kAttrArchive)));
    exclude.Attributes = kAttrHidden | kAttrReadOnly;  // only some of them: not excluded
    EXPECT_TRUE(PassesNameTests(options, File(".a", kAttrHidden)));
}

TEST_F(FileFilterTest, MaskListsInBothRoles) {
    include.Mask = "*.txt;;*.doc";
    EXPECT_TRUE(MatchMaskList(include, "a.txt"));
    EXPECT_TRUE(MatchMaskList(include, "a.doc"));
    EXPECT_FALSE(MatchMaskList(include, "a.pdf"));
    include.Mask = "*.txt; *.doc";  // parts are not trimmed
    EXPECT_FALSE(MatchMaskList(include, "a.doc"));
    EXPECT_TRUE(MatchMaskList(include, " a.doc"));
    include.Mask = ";";
    EXPECT_FALSE(MatchMaskList(include, "a"));

    EXPECT_TRUE(MatchMaskList(cFileFilter(false), "a"));  // empty: passes in the include role
    EXPECT_FALSE(MatchMaskList(cFileFilter(true), "a"));  // and excludes nothing

    include.Mask = "*";
    exclude.Mask = "*.tmp;~*";
    EXPECT_TRUE(PassesNameTests(options, File("a.txt")));
    EXPECT_FALSE(PassesNameTests(options, File("a.TMP")));
    EXPECT_FALSE(PassesNameTests(options, File("~a.txt")));
}

TEST_F(FileFilterTest, MaskListsTakeTheTextAsItIsNow) {
    include.Mask = "*.txt";
    EXPECT_TRUE(MatchMaskList(include, "a.txt"));
    include.Mask = "*.doc";
    EXPECT_FALSE(MatchMaskList(include, "a.txt"));
    EXPECT_TRUE(MatchMaskList(include, "a.doc"));
    include.Mask = "[abc";
    EXPECT_THROW(MatchMaskList(include, "a.doc"), cInvalidMaskError);
    include.Mask = "a*";
    EXPECT_TRUE(MatchMaskList(include, "a.doc"));

    // Many filters in turn, each with its own text.
    std::vector<std::unique_ptr<cFileFilter>> filters;
    for (int i = 0; i < 20; ++i) {
        filters.push_back(std::make_unique<cFileFilter>(false));
        filters.back()->Mask = "f" + std::to_string(i) + ".*";
    }
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 20; ++i) {
            EXPECT_TRUE(MatchMaskList(*filters[i], "f" + std::to_string(i) + ".x"));
            EXPECT_FALSE(MatchMaskList(*filters[i], "f" + std::to_string((i + 1) % 20) + ".x"));
        }
    }
}

TEST_F(FileFilterTest, AnInvalidMaskIsRaisedOnlyWhenAFileReachesIt) {
    include.AllNoTypes = false;
    include.Types = {".TXT"};
    include.Mask = "[abc";
    EXPECT_FALSE(PassesNameTests(options, File("a.doc")));  // rejected by its type first
    EXPECT_THROW(PassesNameTests(options, File("a.txt")), cInvalidMaskError);

    include.AllNoTypes = true;
    include.Mask = "";
    exclude.Mask = "*.txt;[abc";
    EXPECT_FALSE(PassesNameTests(options, File("a.TXT")));  // the valid first part decides
    EXPECT_THROW(PassesNameTests(options, File("b.doc")), cInvalidMaskError);

    // The date and size pass never looks at masks.
    EXPECT_TRUE(PassesDateAndSizeTests(options, File("b.doc")));
}

TEST_F(FileFilterTest, DatePairs) {
    cDatePair& modified = include.Dates[kModificationTime];
    modified.LaterThan = Day(2026, 3, 1);
    EXPECT_TRUE(TestDates(include, kModificationTime, Day(2026, 3, 1, 8)));
    EXPECT_FALSE(TestDates(include, kModificationTime, Day(2026, 2, 28, 23, 59)));
    EXPECT_FALSE(TestDates(include, kModificationTime, Day(2026, 3, 1)));  // strict

    modified.LaterThan = 0;
    modified.EarlierThan = Day(2026, 3, 1);
    EXPECT_TRUE(TestDates(include, kModificationTime, Day(2026, 2, 28, 23, 59)));
    EXPECT_FALSE(TestDates(include, kModificationTime, Day(2026, 3, 1)));

    modified.LaterThan = Day(2026, 3, 5);
    modified.EarlierThan = Day(2026, 3, 10);
    EXPECT_TRUE(TestDates(include, kModificationTime, Day(2026, 3, 7)));
    EXPECT_FALSE(TestDates(include, kModificationTime, Day(2026, 3, 10, 1)));

    // "later than" after "earlier than": the outside of the interval.
    modified.LaterThan = Day(2026, 3, 10);
    modified.EarlierThan = Day(2026, 3, 5);
    EXPECT_TRUE(TestDates(include, kModificationTime, Day(2026, 3, 4, 23, 59)));
    EXPECT_FALSE(TestDates(include, kModificationTime, Day(2026, 3, 5)));
    EXPECT_FALSE(TestDates(include, kModificationTime, Day(2026, 3, 9, 23, 59)));
    EXPECT_FALSE(TestDates(include, kModificationTime, Day(2026, 3, 10)));
    EXPECT_TRUE(TestDates(include, kModificationTime, Day(2026, 3, 10, 0, 1)));

    modified.EarlierThan = modified.LaterThan;  // equal bounds: everything but that very moment
    EXPECT_TRUE(TestDates(include, kModificationTime, Day(2026, 3, 9)));
    EXPECT_FALSE(TestDates(include, kModificationTime, Day(2026, 3, 10)));

    EXPECT_TRUE(TestDates(include, kCreationTime, 1.0));  // the other kind is off
    EXPECT_FALSE(TestDates(exclude, kCreationTime, 1.0));
}

TEST_F(FileFilterTest, IncludeNeedsBothDateKindsExcludeEither) {
    include.Dates[kModificationTime].LaterThan = Day(2026, 3, 1);
    include.Dates[kCreationTime].LaterThan = Day(2026, 3, 1);
    cFileInputs file = File("a");
    file.ModificationDate = Day(2026, 3, 2);
    file.CreationDate = Day(2026, 2, 1);
    EXPECT_FALSE(PassesDateAndSizeTests(options, file));
    file.CreationDate = Day(2026, 3, 2);
    EXPECT_TRUE(PassesDateAndSizeTests(options, file));

    include.Dates[kModificationTime] = include.Dates[kCreationTime] = cDatePair{};
    exclude.Dates[kCreationTime].EarlierThan = Day(2026, 1, 1);
    exclude.Dates[kModificationTime].EarlierThan = Day(2025, 1, 1);
    file.ModificationDate = Day(2026, 3, 2);
    file.CreationDate = Day(2025, 6, 1);
    EXPECT_FALSE(PassesDateAndSizeTests(options, file));  // created before 2026: excluded
    file.CreationDate = Day(2026, 6, 1);
    EXPECT_TRUE(PassesDateAndSizeTests(options, file));
}

TEST_F(FileFilterTest, SizeLimits) {
    include.Size1 = {true, 0};
    EXPECT_FALSE(TestSize(include, 0));
    EXPECT_TRUE(TestSize(include, 1));
    EXPECT_TRUE(TestSize(include, UINT64_MAX));

    exclude.Size2 = {true, 1024};
    EXPECT_TRUE(PassesDateAndSizeTests(options, File("a", 0, 1024)));
    EXPECT_FALSE(PassesDateAndSizeTests(options, File("a", 0, 1023)));
    EXPECT_FALSE(PassesDateAndSizeTests(options, File("a", 0, 0)));  // "larger than 0" comes first

    // Two limits are never read as an outside: larger than 10 MB and smaller than 1 MB lets nothing in.
    include.Size1 = {true, 10u << 20};
    include.Size2 = {true, 1u << 20};
    for (std::uint64_t size : {0ull, 1000ull, 5ull << 20, 20ull << 20}) {
        EXPECT_FALSE(TestSize(include, size));
    }
    include.Size1.Enabled = false;  // a disabled limit keeps its bytes but does not count
    EXPECT_TRUE(TestSize(include, 1000));
    EXPECT_FALSE(TestSize(cFileFilter(true), 1000));
}

}  // namespace
}  // namespace trx
