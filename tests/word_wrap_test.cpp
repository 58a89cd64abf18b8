#include "ui/word_wrap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace huevane::ui {
namespace {

// Every character 5 units wide, as a fixed-pitch font would draw it.
int FixedWidth(std::string_view text) {
    return static_cast<int>(text.size()) * 5;
}

using Lines = std::vector<std::string>;

TEST(WrapWords, BreaksAtSpacesAndDropsTheSpacesAtABreak) {
    // 10 characters fit on a line.
    EXPECT_EQ(WrapWords("aaa bbb ccc ddd", 50, FixedWidth), (Lines{"aaa bbb", "ccc ddd"}));
    EXPECT_EQ(WrapWords("aaa      bbb", 50, FixedWidth), (Lines{"aaa", "bbb"}));
    EXPECT_EQ(WrapWords("aaa  bbb", 50, FixedWidth), (Lines{"aaa  bbb"}));  // runs kept inside
    EXPECT_EQ(WrapWords("aaa bbb   ", 50, FixedWidth), (Lines{"aaa bbb"}));
    EXPECT_EQ(WrapWords("", 50, FixedWidth), Lines{});
}

TEST(WrapWords, LongWordStandsAlone) {
    EXPECT_EQ(WrapWords("aa bbbbbbbbbbbbbb cc", 50, FixedWidth),
              (Lines{"aa", "bbbbbbbbbbbbbb", "cc"}));
}

TEST(WrapWords, HelpStepsComeOutOneALine) {
    // The About window's help text: runs of spaces wider than what is left of each line push
    // the next step onto a line of its own.
    const std::string help = "1. Pick your AIM Version" + std::string(28, ' ') +
                             "2. Pick the property you want to change" + std::string(3, ' ') +
                             "3. Pick the new color" + std::string(33, ' ') +
                             "4. Press 'Apply Changes'";
    EXPECT_EQ(WrapWords(help, 40 * 5, FixedWidth),
              (Lines{"1. Pick your AIM Version", "2. Pick the property you want to change",
                     "3. Pick the new color", "4. Press 'Apply Changes'"}));
}

}  // namespace
}  // namespace huevane::ui
