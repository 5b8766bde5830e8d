#include <gtest/gtest.h>

#include "core/ListFile.h"
#include "core/Settings.h"
#include "support/Fakes.h"
#include "support/FileFakes.h"

namespace tobla {
namespace {

using Entries = std::vector<std::string>;

TEST(ListFieldsTest, SplitsAtCommasAndLineEndsKeepingEmptyLines) {
    EXPECT_EQ(ReadListFields("%s - ( %l / %b )\r\n%s, %l\r\n"),
              (Entries{"%s - ( %l / %b )", "%s", "%l"}));
    EXPECT_EQ(ReadListFields("a\nb,c"), (Entries{"a", "b", "c"}));
    EXPECT_EQ(ReadListFields("  \tlead"), (Entries{"lead"}));
    EXPECT_TRUE(ReadListFields("").empty());
    // An empty line is one empty field; no field follows the last line end.
    EXPECT_EQ(ReadListFields("a\r\n\r\nb\r\n"), (Entries{"a", "", "b"}));
    EXPECT_EQ(ReadListFields("\r\n"), (Entries{""}));
    EXPECT_EQ(ReadListFields("a,\r\n"), (Entries{"a", ""}));
}

TEST(ListFieldsTest, QuotedFieldKeepsCommasAndLosesItsQuotes) {
    EXPECT_EQ(ReadListFields("\"%s, %l\"\r\nnext\r\n"), (Entries{"%s, %l", "next"}));
    // Whatever follows the closing quote up to the separator is dropped.
    EXPECT_EQ(ReadListFields("  \"a,b\" junk,c\n"), (Entries{"a,b", "c"}));
    EXPECT_EQ(ReadListFields("say \"hi\"\r\n"), (Entries{"say \"hi\""}));
}

TEST(ListFieldsTest, SurvivesNulBytesAndAnUnterminatedQuote) {
    const std::string withNul("a\0b,c\r\n", 7);
    EXPECT_EQ(ReadListFields(withNul), (Entries{std::string("a\0b", 3), "c"}));
    EXPECT_EQ(ReadListFields("x\r\n\"open, to\r\nthe end"), (Entries{"x", "open, to\r\nthe end"}));
    EXPECT_EQ(ReadListFields("\""), (Entries{""}));
}

class ListFileTest : public ::testing::Test {
protected:
    const std::string path = "C:\\Tobla\\send.fmt";
    test::MemoryFileSystem files;
    test::Latin1CodePage codePage;
    test::FakeYielder yielder;
    void SetUp() override { files.folders.insert("C:\\Tobla"); }
};

// Whatever a user types comes back as typed; plain entries stay bare lines.
TEST_F(ListFileTest, SavedTemplatesComeBackWhole) {
    const Entries typed = {"%s - ( %l / %b )", "%s, %l", "  %s",        "\"%s\"", "'%s' ",
                           "say \"hi\"",       "",       "\"a\", b\"\""};
    test::VectorList saved(typed);
    toolkit::SaveListToFile(path, saved, files, codePage);
    EXPECT_EQ(files.files[path],
              "%s - ( %l / %b )\r\n\"%s, %l\"\r\n\"  %s\"\r\n\"\"\"%s\"\"\"\r\n'%s' \r\n"
              "say \"hi\"\r\n\r\n\"\"\"a\"\", b\"\"\"\"\"\r\n");

    test::VectorList loaded({"kept"});
    toolkit::LoadListFromFile(path, loaded, files, codePage, yielder);
    Entries expected = {"kept"};
    expected.insert(expected.end(), typed.begin(), typed.end());
    EXPECT_EQ(loaded.entries, expected);
    EXPECT_EQ(yielder.count, static_cast<int>(typed.size()));
}

// The list stays in the code page while it writes every entry; one entry it cannot
// write makes the whole file UTF-8 after a byte order mark, which reads back so.
TEST_F(ListFileTest, TheFileTurnsUtf8OnlyForAnEntryTheCodePageLacks) {
    test::VectorList list({"caf\u00e9 %s"});
    toolkit::SaveListToFile(path, list, files, codePage);
    EXPECT_EQ(files.files[path], "caf\xE9 %s\r\n");
    list.Append("\u266b %s \u266b");
    toolkit::SaveListToFile(path, list, files, codePage);
    EXPECT_EQ(files.files[path],
              "\xEF\xBB\xBF"
              "caf\u00e9 %s\r\n\u266b %s \u266b\r\n");
    test::VectorList loaded;
    toolkit::LoadListFromFile(path, loaded, files, codePage, yielder);
    EXPECT_EQ(loaded.entries, list.entries);
}

// Notepad saves UTF-8 without a mark by default: such a file reads as UTF-8.
TEST_F(ListFileTest, AFileSavedAsUtf8WithoutAMarkReadsAsUtf8) {
    files.files[path] = "caf\xC3\xA9 %s\r\n\xE2\x99\xAB %s\r\n";
    test::VectorList loaded;
    toolkit::LoadListFromFile(path, loaded, files, codePage, yielder);
    EXPECT_EQ(loaded.entries, (Entries{"caf\u00e9 %s", "\u266b %s"}));
}

TEST_F(ListFileTest, YieldComesBeforeEachAppend) {
    files.files[path] = "one\r\ntwo\r\n";
    test::VectorList list;
    std::vector<int> countsSeenInYield;
    yielder.onYield = [&] { countsSeenInYield.push_back(list.Count()); };
    toolkit::LoadListFromFile(path, list, files, codePage, yielder);
    EXPECT_EQ(countsSeenInYield, (std::vector<int>{0, 1}));
}

TEST_F(ListFileTest, EmptyListGivesEmptyFileThatLoadsNothing) {
    files.files[path] = "old\r\n";
    test::VectorList empty;
    toolkit::SaveListToFile(path, empty, files, codePage);
    EXPECT_EQ(files.files[path], "");
    toolkit::LoadListFromFile(path, empty, files, codePage, yielder);
    EXPECT_TRUE(empty.entries.empty());
    EXPECT_EQ(yielder.count, 0);
}

TEST_F(ListFileTest, UnreadableFileAddsNothingAndUnwritableFileIsLeftAlone) {
    files.files[path] = "a\r\n";
    files.locked.insert(path);
    test::VectorList list({"x"});
    toolkit::LoadListFromFile(path, list, files, codePage, yielder);
    EXPECT_EQ(list.entries, (Entries{"x"}));
    toolkit::SaveListToFile(path, list, files, codePage);
    EXPECT_EQ(files.files[path], "a\r\n");
    toolkit::LoadListFromFile("C:\\Tobla\\missing.fmt", list, files, codePage, yielder);
    EXPECT_EQ(list.entries, (Entries{"x"}));
}

TEST(IsInListTest, IgnoresCaseButNotOtherDifferences) {
    test::AsciiCase cases;
    test::VectorList list({"arial", "%s - ( %l / %b )"});
    EXPECT_TRUE(toolkit::IsInList(list, "ARIAL", cases));
    EXPECT_TRUE(toolkit::IsInList(list, "%S - ( %L / %B )", cases));
    EXPECT_FALSE(toolkit::IsInList(list, "arial ", cases));
    test::VectorList empty;
    EXPECT_FALSE(toolkit::IsInList(empty, "", cases));
}

TEST(RemoveDuplicatesTest, RemovesOnlyNeighboursEqualIgnoringCase) {
    test::FakeYielder yielder;
    test::AsciiCase cases;
    test::VectorList list({"Arial", "arial", "Courier", "Arial"});
    EXPECT_EQ(winampApi::RemoveDuplicates(list, yielder, cases), 1);
    EXPECT_EQ(list.entries, (Entries{"Arial", "Courier", "Arial"}));

    test::VectorList run({"A", "a", "A", "b", "B"});
    EXPECT_EQ(winampApi::RemoveDuplicates(run, yielder, cases), 3);
    EXPECT_EQ(run.entries, (Entries{"A", "b"}));

    test::VectorList empty;
    EXPECT_EQ(winampApi::RemoveDuplicates(empty, yielder, cases), 0);
}

TEST(RemoveDuplicatesTest, ReReadsTheListAfterEachYield) {
    test::VectorList list({"a", "b", "c", "c"});
    test::FakeYielder yielder;
    test::AsciiCase cases;
    // A handler running in the first yield empties most of the list.
    yielder.onYield = [&] {
        if (yielder.count == 1) list.entries = {"x", "x"};
    };
    EXPECT_EQ(winampApi::RemoveDuplicates(list, yielder, cases), 1);
    EXPECT_EQ(list.entries, (Entries{"x"}));
    EXPECT_EQ(yielder.count, 2);
}

}  // namespace
}  // namespace tobla
