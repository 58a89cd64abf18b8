#include "core/catalogue.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/offset_table.h"

namespace huevane {
namespace {

using test::kExpectedOffsets;

TEST(Catalogue, ListsHoldTheExactTextsInOrder) {
    ASSERT_EQ(kVersionTexts.size(), 16u);
    ASSERT_EQ(kPropertyTexts.size(), 6u);
    EXPECT_EQ(kVersionTexts[0], "5.0.2867");
    EXPECT_EQ(kVersionTexts[3], "5.1.3009 - 5.1.3036");
    EXPECT_EQ(kVersionTexts[10], "5.5.3553 - 5.5.3599");
    EXPECT_EQ(kVersionTexts[15], "5.9.3782 - 5.9.3861");
    EXPECT_EQ(kPropertyTexts[0], "Buddy list background");
    EXPECT_EQ(kPropertyTexts[1], "Buddy list setup background");
    EXPECT_EQ(kPropertyTexts[4], "Buddy Tooltip");
    EXPECT_EQ(kPropertyTexts[5], "BG of bottom buttons");
}

TEST(Catalogue, EveryPairMatchesTheOffsetTable) {
    for (std::int16_t version = 0; version < 16; ++version) {
        for (std::int16_t property = 0; property < 6; ++property) {
            SCOPED_TRACE("version " + std::to_string(version) + ", property " +
                         std::to_string(property));
            const std::string_view expected = kExpectedOffsets[static_cast<std::size_t>(version)]
                                                              [static_cast<std::size_t>(property)];
            if (expected == "-") {
                EXPECT_FALSE(IsAvailable(version, property));
                EXPECT_EQ(LookupOffset(version, property), "");
            } else {
                EXPECT_TRUE(IsAvailable(version, property));
                EXPECT_EQ(LookupOffset(version, property), expected);
            }
        }
    }
}

TEST(Catalogue, OnlyTheSetupBackgroundOfLaterBuildsIsUnavailable) {
    EXPECT_TRUE(IsAvailable(3, 1));
    EXPECT_FALSE(IsAvailable(4, 1));
    EXPECT_FALSE(IsAvailable(15, 1));
    // Indices outside the lists pass this test; the lookup rejects them.
    EXPECT_TRUE(IsAvailable(-1, 1));
    EXPECT_TRUE(IsAvailable(-1, -1));
    EXPECT_TRUE(IsAvailable(4, -1));
    EXPECT_FALSE(IsAvailable(16, 1));
    EXPECT_FALSE(IsAvailable(32767, 1));
}

struct OutsidePair {
    std::int16_t version;
    std::int16_t property;
};

class CatalogueOutside : public ::testing::TestWithParam<OutsidePair> {};

TEST_P(CatalogueOutside, YieldsEmptyText) {
    EXPECT_EQ(LookupOffset(GetParam().version, GetParam().property), "");
}

INSTANTIATE_TEST_SUITE_P(NothingSelectedOrOutOfRange, CatalogueOutside,
                         ::testing::Values(OutsidePair{-1, 0}, OutsidePair{-1, 5},
                                           OutsidePair{0, -1}, OutsidePair{15, -1},
                                           OutsidePair{-1, -1}, OutsidePair{0, 6},
                                           OutsidePair{3, 6}, OutsidePair{4, 6}, OutsidePair{15, 6},
                                           OutsidePair{16, 0}, OutsidePair{16, 2},
                                           OutsidePair{-32768, 0}, OutsidePair{0, 32767},
                                           OutsidePair{4, -32768}));

TEST(Catalogue, LaterBuildsShiftPropertiesAfterTheMissingSlot) {
    EXPECT_EQ(LookupOffset(0, 5), "31D7");
    EXPECT_EQ(LookupOffset(3, 5), "3225");
    EXPECT_EQ(LookupOffset(4, 5), "3225");
    EXPECT_EQ(LookupOffset(4, 4), "5721");
    EXPECT_EQ(LookupOffset(6, 5), "5dF9");
    EXPECT_EQ(LookupOffset(15, 5), "C7A4");
}

TEST(Catalogue, BuildsFallIntoTheirVersionRanges) {
    struct Case {
        std::string_view text;
        std::optional<std::int16_t> version;
    };
    for (const Case& c : {Case{"5.0.2867", 0}, Case{"5.0.2892", 1}, Case{"5.0.2916", 2},
                          Case{"5.0.2930", 2}, Case{"5.0.2938", 2}, Case{"5.0.2939", std::nullopt},
                          Case{"5.1.3020", 3}, Case{"5.2.3074", 4}, Case{"5.2.3075", std::nullopt},
                          Case{"5.5.3599", 10}, Case{"5.9.3782", 15}, Case{"5.9.3861", 15},
                          Case{"5.9.3862", std::nullopt}, Case{"6.0.3020", std::nullopt},
                          Case{"5.1.2916", std::nullopt}, Case{"0.0.99999", std::nullopt}}) {
        const std::optional<BuildNumber> build = ParseBuildNumber(c.text);
        ASSERT_TRUE(build) << c.text;
        EXPECT_EQ(BuildNumberText(*build), c.text);
        EXPECT_EQ(VersionForBuild(*build), c.version) << c.text;
    }
    for (const std::string_view text : {"", "5.1", "5.1.3020.0", "5.1.3020.", "5..3020", "5.1.30a0",
                                        "5.1.+3020", " 5.1.3020", "5.1.123456"}) {
        EXPECT_EQ(ParseBuildNumber(text), std::nullopt) << text;
    }
}

}  // namespace
}  // namespace huevane
