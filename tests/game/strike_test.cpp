#include "game/strike.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace mole {
namespace {

class CountingFeedback final : public StrikeFeedback {
  public:
    void swing() override { sequence += 's'; }
    void hit() override { sequence += 'h'; }
    std::string sequence;
};

MoleField oneMoleAt(int32_t x, int32_t y, int32_t phase, int32_t direction = 0) {
    MoleField field;
    field.screenWidth = 4000;
    field.screenHeight = 4000;
    for (int k = 0; k < kMoleCount; ++k) {
        field.moleTable[k] = {3000, (k)*150, 0, 0};  // all hidden, far away
    }
    field.moleTable[9] = {x, y, phase, direction};
    return field;
}

TEST(Strike, HitBoxBoundariesAreStrict) {
    const int32_t x = 500;
    const int32_t y = 400;
    struct Case {
        int32_t px, py;
        bool hit;
    };
    const Case cases[] = {
        {x + 8, y, false},       {x + 9, y, true},        {x + 69, y, true},
        {x + 70, y, false},      {x + 30, y - 32, false}, {x + 30, y - 31, true},
        {x + 30, y + 31, true},  {x + 30, y + 32, false}, {x + 30, y - 20, true},
        {x + 66, y + 10, true},   // beyond the cell's right edge, still inside the box
        {x + 30, y + 50, false},  // the lower part of the cell is outside the box
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.px - x << "," << c.py - y);
        MoleField field = oneMoleAt(x, y, 15);
        MissionTally tally;
        CountingFeedback feedback;
        strikeAt(field, tally, c.px, c.py, feedback);
        EXPECT_EQ(tally.swingCount, 1);
        EXPECT_EQ(tally.hitCount, c.hit ? 1 : 0);
        EXPECT_EQ(feedback.sequence, c.hit ? "sh" : "s");
        EXPECT_EQ(field.moleTable[9].phase, c.hit ? kKnockedOutPhase : 15);
    }
}

TEST(Strike, OnlyMolesAboveGroundCanBeStruck) {
    struct Case {
        int32_t phase, direction;
        bool hit;
    };
    const Case cases[] = {
        {11, 0, true},   // just risen: struck although the picture still shows the hole
        {10, 1, false},  // just sunk: not struck although frame 1 is still shown
        {10, 0, false},  {0, 0, false},  {24, 1, true},  {23, 1, true},
        {-10, 0, false}, {-3, 0, false}, {-1, 0, false},  // knocked out or blocked
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.phase);
        MoleField field = oneMoleAt(800, 800, c.phase, c.direction);
        MissionTally tally;
        CountingFeedback feedback;
        strikeAt(field, tally, 830, 790, feedback);
        EXPECT_EQ(tally.hitCount, c.hit ? 1 : 0);
        if (c.hit) {
            EXPECT_EQ(field.moleTable[9].phase, kKnockedOutPhase);
            EXPECT_EQ(field.moleTable[9].direction, 0);
        } else {
            EXPECT_EQ(field.moleTable[9].phase, c.phase);
        }
    }
}

TEST(Strike, KnockedOutMoleCannotBeStruckTwice) {
    MoleField field = oneMoleAt(800, 800, 20);
    MissionTally tally;
    CountingFeedback feedback;
    strikeAt(field, tally, 830, 800, feedback);
    strikeAt(field, tally, 830, 800, feedback);
    EXPECT_EQ(tally.hitCount, 1);
    EXPECT_EQ(tally.swingCount, 2);
    EXPECT_EQ(feedback.sequence, "shs");
}

TEST(Strike, HundredthHitEndsTheMissionInTheSameClick) {
    MoleField field = oneMoleAt(800, 800, 20);
    MissionTally tally;
    tally.hitCount = 98;
    CountingFeedback feedback;
    EXPECT_FALSE(strikeAt(field, tally, 830, 800, feedback));  // 99th
    EXPECT_FALSE(strikeAt(field, tally, 0, 0, feedback));      // a whiff at 99
    field.moleTable[9].phase = 15;
    EXPECT_TRUE(strikeAt(field, tally, 830, 800, feedback));  // 100th
    EXPECT_EQ(tally.hitCount, 100);
}

TEST(Strike, SwingCounterStopsAtItsCapButClicksStillWork) {
    MoleField field = oneMoleAt(800, 800, 20);
    MissionTally tally;
    tally.swingCount = kSwingCap - 1;
    CountingFeedback feedback;
    strikeAt(field, tally, 0, 0, feedback);
    EXPECT_EQ(tally.swingCount, kSwingCap);
    strikeAt(field, tally, 830, 800, feedback);
    EXPECT_EQ(tally.swingCount, kSwingCap);
    EXPECT_EQ(tally.hitCount, 1);
    EXPECT_EQ(feedback.sequence, "ssh");
}

TEST(Strike, ClicksAtExtremeCoordinatesAreWhiffs) {
    const int32_t big = std::numeric_limits<int32_t>::max();
    const int32_t small = std::numeric_limits<int32_t>::min();
    MoleField field = oneMoleAt(800, 800, 20);
    MissionTally tally;
    NullStrikeFeedback none;
    for (auto [px, py] : {std::pair{big, big}, {small, small}, {big, small}, {-1, -1}}) {
        strikeAt(field, tally, px, py, none);
    }
    EXPECT_EQ(tally.hitCount, 0);
    EXPECT_EQ(tally.swingCount, 4);
}

// Many thousands of ticks with random clicks, checking what must always hold.
TEST(MissionProperties, InvariantsHoldOverLongSeededPlay) {
    for (uint32_t seed : {1u, 20261211u, 0xC0FFEEu}) {
        SCOPED_TRACE(seed);
        GameRandom clicks;
        clicks.seed(seed ^ 0x5A5A5A5Au);
        const int32_t w = 640 + static_cast<int32_t>(seed % 1300);
        const int32_t h = 480 + static_cast<int32_t>(seed % 700);
        MoleField field;
        field.random.seed(seed);
        NullFieldPainter none;
        NullStrikeFeedback quiet;
        placeInitialMoles(field, w, h, none);
        MissionTally tally;
        bool ended = false;
        int ticks = 0;
        for (; ticks < 200000 && !ended; ++ticks) {
            const int tick = ticks;
            tickField(field, tally, none);
            // Aim at a random mole above ground now and then, otherwise click anywhere.
            for (int c = clicks.draw() % 40 == 0 ? 1 + clicks.draw() % 3 : 0; c > 0 && !ended;
                 --c) {
                const MoleSlot& target = field.moleTable[clicks.draw() % kMoleCount];
                int32_t px = target.x + 9 + clicks.draw() % 61;
                int32_t py = target.y - 31 + clicks.draw() % 63;
                if (clicks.draw() % 4 == 0) {
                    px = clicks.draw() * 4 - 60000;
                    py = clicks.draw() * 2 - 30000;
                }
                ended = strikeAt(field, tally, px, py, quiet);
            }
            for (int i = 0; i < kMoleCount; ++i) {
                const MoleSlot& a = field.moleTable[i];
                ASSERT_GE(a.x, 0);
                ASSERT_GE(a.y, 0);
                ASSERT_LE(a.x + kCellSize, w);
                ASSERT_LE(a.y + kCellSize, h);
                ASSERT_TRUE(a.direction == 0 || a.direction == 1);
                ASSERT_GE(a.phase, -10);
                ASSERT_LE(a.phase, 24);
                for (int j = i + 1; j < kMoleCount; ++j) {
                    const MoleSlot& b = field.moleTable[j];
                    if (isAboveGround(a) && isAboveGround(b)) {
                        ASSERT_TRUE(std::abs(a.x - b.x) >= 64 || std::abs(a.y - b.y) >= 64)
                            << "moles " << i << " and " << j << " at tick " << tick;
                    }
                }
            }
            ASSERT_LE(tally.hitCount, kHitsToEndMission);
            ASSERT_LE(tally.swingCount, kSwingCap);
            ASSERT_LE(tally.escapeCount, kEscapeCap);
            ASSERT_LE(tally.hitCount, tally.swingCount);
        }
        EXPECT_TRUE(ended) << "the autoplayer should reach the hundredth hit";
        EXPECT_GT(ticks, 2000);
    }
}

}  // namespace
}  // namespace mole
