#include "game/game_random.h"

#include <gtest/gtest.h>

namespace mole {
namespace {

TEST(GameRandom, SeedOneGivesTheKnownSequence) {
    GameRandom random;
    random.seed(1);
    EXPECT_EQ(random.draw(), 41);
    EXPECT_EQ(random.draw(), 18467);
    EXPECT_EQ(random.draw(), 6334);
}

TEST(GameRandom, DrawsStayInFifteenBits) {
    GameRandom random;
    random.seed(0xDEADBEEF);
    for (int i = 0; i < 100000; ++i) {
        const int32_t r = random.draw();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
    }
}

}  // namespace
}  // namespace mole
