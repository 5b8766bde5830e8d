#include <gtest/gtest.h>

#include "core/StoredValues.h"

namespace tobla {
namespace {

TEST(StoredValuesTest, AColourFrom0To0xFFFFFFAsTheNumberReadsAndRounds) {
    EXPECT_EQ(ColorFromSetting("0"), 0);
    EXPECT_EQ(ColorFromSetting("16777215"), 0xFFFFFF);
    EXPECT_EQ(ColorFromSetting("&HFF8000"), 0xFF8000);
    EXPECT_EQ(ColorFromSetting("255 junk"), 255);
    EXPECT_EQ(ColorFromSetting("2.5"), 2);   // halves to the even neighbour
    EXPECT_EQ(ColorFromSetting("text"), 0);  // no number reads as 0, black
    for (const char* refused : {"", "16777216", "-1", "16777215.5", "1e40", "-1e40"})
        EXPECT_EQ(ColorFromSetting(refused), std::nullopt) << refused;
}

TEST(StoredValuesTest, ACheckStateIsUncheckedCheckedOrGreyed) {
    EXPECT_EQ(CheckStateFromSetting("0"), 0);
    EXPECT_EQ(CheckStateFromSetting("1"), 1);
    EXPECT_EQ(CheckStateFromSetting("2"), 2);
    EXPECT_EQ(CheckStateFromSetting("1.5"), 2);
    EXPECT_EQ(CheckStateFromSetting("0.5"), 0);
    for (const char* refused : {"", "3", "-1", "2.51", "65537", "1e40"})
        EXPECT_EQ(CheckStateFromSetting(refused), std::nullopt) << refused;
}

}  // namespace
}  // namespace tobla
