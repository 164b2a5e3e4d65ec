// SPDX-License-Identifier: GPL-3.0-or-later
// The plan as standard output shows it: escaping, the line form for people and the tab form for scripts.
#include "app/PreviewReport.h"
#include "engine/DefaultTextFormats.h"
#include "support/ExamplePlan.h"

#include <gtest/gtest.h>

namespace trx {
namespace {

TEST(PreviewReport, EscapesWhatCouldBreakALineOrIsNoUtf8) {
    const struct {
        std::string in, out;
    } kCases[] = {
        {"Briefe/Ärger €.txt", "Briefe/Ärger €.txt"},
        {"a\tb\nc\rd", "a\\tb\\nc\\rd"},
        {"C:\\x", "C:\\\\x"},
        {std::string("nul\0bell\x07", 9) + "\x1b\x7f", "nul\\x00bell\\x07\\x1B\\x7F"},
        {"Latin1 \xE4rger", "Latin1 \\xE4rger"},
        {"cut \xE2\x82", "cut \\xE2\\x82"},
        {"overlong \xC0\xAF", "overlong \\xC0\\xAF"},
        {"surrogate \xED\xA0\x80", "surrogate \\xED\\xA0\\x80"},
        {"C1 \xC2\x85 ok \xC2\xA0", "C1 \\xC2\\x85 ok \xC2\xA0"},
        {"emoji \xF0\x9F\x98\x80", "emoji \xF0\x9F\x98\x80"},
        {"too high \xF4\x90\x80\x80", "too high \\xF4\\x90\\x80\\x80"},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(EscapeForReport(c.in), c.out) << c.in;
    }
}

TEST(PreviewReport, TheLineFormListsEveryActionThenSumsUpEachDestination) {
    const std::string expected =
        "Kopieren          1,5 KB  /q/neu.txt -> /z1/q/neu.txt\n"
        "Ersetzen         10 Byte  /q/Sub/alt\\xE4.txt -> /z1/q/Sub/alt\\xE4.txt\n"
        "Löschen                   /z1/q/Sub/weg/\n"
        "Löschen           7 Byte  /z1/q/weg.txt\n"
        "Zurückgehalten            12 Löschungen in \"/z1/q/Sub/\" wurden zurückgehalten.\n"
        "Problem                   Auf \"/q/x\" kann nicht zugegriffen werden.\\tFehler\n"
        "Kopieren            2 KB  /q/b -> /z2/b\n"
        "\nZiel /z1/\n"
        "  zu kopieren:     1 Datei, 1,5 KB\n"
        "  zu ersetzen:     1 Datei, 10 Byte\n"
        "  zu löschen:      2 Einträge\n"
        "  zurückgehalten:  1\n"
        "  Probleme:        1\n"
        "\nZiel /z2/\n"
        "  zu kopieren:     1 Datei, 2 KB\n"
        "  zu ersetzen:     0 Dateien, 0 Byte\n"
        "  zu löschen:      0 Einträge\n"
        "  zurückgehalten:  0\n"
        "  Probleme:        0\n";
    EXPECT_EQ(PreviewText(test::ExamplePlan(), cDefaultTextFormats()), expected);
}

TEST(PreviewReport, TheTabFormHasFiveFieldsPerActionAndOneSumLinePerDestination) {
    const std::string expected =
        "Kopieren\t1536\t/q/neu.txt\t/z1/q/neu.txt\t\n"
        "Ersetzen\t10\t/q/Sub/alt\\xE4.txt\t/z1/q/Sub/alt\\xE4.txt\t\n"
        "Löschen\t0\t\t/z1/q/Sub/weg/\t\n"
        "Löschen\t7\t\t/z1/q/weg.txt\t\n"
        "Zurückgehalten\t\t\t/z1/q/Sub/\t12 Löschungen in \"/z1/q/Sub/\" wurden zurückgehalten.\n"
        "Problem\t\t\t\tAuf \"/q/x\" kann nicht zugegriffen werden.\\tFehler\n"
        "Kopieren\t2048\t/q/b\t/z2/b\t\n"
        "Summe\t/z1/\t1\t1536\t1\t10\t2\t1\t1\n"
        "Summe\t/z2/\t1\t2048\t0\t0\t0\t0\t0\n";
    EXPECT_EQ(PreviewTabs(test::ExamplePlan()), expected);
    EXPECT_TRUE(PlanHasTrouble(test::ExamplePlan()));
    cRunPlan clean = test::ExamplePlan();
    clean.Actions.resize(4);
    EXPECT_FALSE(PlanHasTrouble(clean));
}

}  // namespace
}  // namespace trx
