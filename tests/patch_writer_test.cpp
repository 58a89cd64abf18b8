#include "core/patch_writer.h"

#include <gtest/gtest.h>

#include <string>

namespace huevane {
namespace {

// Splits "abcdefgh" into chunks of the given size, patches each, and joins them again: the
// result must not depend on where the chunk borders fall.
std::string PatchInChunks(std::size_t chunkSize, std::int32_t lngSpot) {
    const std::string original = "abcdefgh";
    std::string result;
    for (std::size_t offset = 0; offset < original.size(); offset += chunkSize) {
        std::string chunk = original.substr(offset, chunkSize);
        PatchChunk(chunk, offset, "XYZ", lngSpot);
        result += chunk;
    }
    return result;
}

struct ChunkCase {
    std::int32_t lngSpot;
    const char* expected;
};

class PatchChunkTest : public ::testing::TestWithParam<ChunkCase> {};

TEST_P(PatchChunkTest, SameResultWhereverChunksSplit) {
    for (std::size_t chunkSize = 1; chunkSize <= 9; ++chunkSize) {
        SCOPED_TRACE(chunkSize);
        EXPECT_EQ(PatchInChunks(chunkSize, GetParam().lngSpot), GetParam().expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Positions, PatchChunkTest,
                         ::testing::Values(ChunkCase{1, "XYZdefgh"},  // position 1 is offset 0
                                           ChunkCase{4, "abcXYZgh"},  //
                                           ChunkCase{6, "abcdeXYZ"},  // ends on the last byte
                                           ChunkCase{7, "abcdefXY"},  // length - 1: two bytes
                                           ChunkCase{8, "abcdefgX"},  // the last byte alone
                                           ChunkCase{9, "abcdefgh"},  // past the end
                                           ChunkCase{0, "abcdefgh"},  // before the start
                                           ChunkCase{-5, "abcdefgh"}));

}  // namespace
}  // namespace huevane
