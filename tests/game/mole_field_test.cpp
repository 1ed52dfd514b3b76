#include "game/mole_field.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/strike.h"

namespace mole {
namespace {

// What the picture shows for a phase: the frame drawn over the ground, or -1 for none.
int frameShown(int32_t phase) {
    if (phase > 10) {
        return phase - 10;
    }
    if (phase < -2) {
        return 15;
    }
    return -1;
}

struct PainterCall {
    std::string op;  // "compose", "heal", "stamp", "stampScars"
    int slot;
    int32_t x, y, phase;
    bool operator==(const PainterCall&) const = default;
};

class RecordingPainter final : public FieldPainter {
  public:
    explicit RecordingPainter(const MoleField& field) : field_(field) {}
    void composeCell(const MoleSlot& s) override { record("compose", s); }
    void healHole(const MoleSlot& s) override { record("heal", s); }
    void stampHole(const MoleSlot& s, bool intoScars) override {
        record(intoScars ? "stampScars" : "stamp", s);
    }
    std::vector<PainterCall> calls;

    std::vector<PainterCall> callsFor(int slot) const {
        std::vector<PainterCall> out;
        for (const auto& c : calls) {
            if (c.slot == slot) {
                out.push_back(c);
            }
        }
        return out;
    }

  private:
    void record(const char* op, const MoleSlot& s) {
        calls.push_back({op, static_cast<int>(&s - field_.moleTable.data()), s.x, s.y, s.phase});
    }
    const MoleField& field_;
};

// Places every mole on its own far-apart cell of a big screen, so that a test can follow
// one mole without the others getting in its way.
MoleField spreadField(int32_t w = 4000, int32_t h = 4000) {
    MoleField field;
    field.screenWidth = w;
    field.screenHeight = h;
    for (int k = 0; k < kMoleCount; ++k) {
        field.moleTable[k] = {(k % 5) * 200, (k / 5) * 200, 0, 0};
    }
    return field;
}

// The frames mole k showed, one per tick, until its phase first comes back to 0..9 after
// having been above ground (that is, until it has been moved).
std::vector<int> framesUntilMoved(MoleField& field, MissionTally& tally, int k) {
    RecordingPainter painter(field);
    std::vector<int> frames;
    bool wasUp = false;
    for (int tick = 0; tick < 200; ++tick) {
        const int32_t before = field.moleTable[k].phase;
        const int32_t beforeX = field.moleTable[k].x;
        const int32_t beforeY = field.moleTable[k].y;
        tickField(field, tally, painter);
        frames.push_back(frameShown(before));
        wasUp = wasUp || before > 10 || before < -2;
        const MoleSlot& s = field.moleTable[k];
        if (wasUp && (s.x != beforeX || s.y != beforeY || s.phase == -1)) {
            break;
        }
    }
    return frames;
}

std::vector<int> expectedAppearance(int32_t p0) {
    std::vector<int> v(11 - p0, -1);
    for (int f = 1; f <= 13; ++f)
        v.push_back(f);
    v.push_back(14);
    for (int f = 13; f >= 1; --f)
        v.push_back(f);
    v.push_back(-1);
    v.push_back(-1);
    return v;
}

TEST(MoleLifeCycle, AppearanceTimingsByStartingPhase) {
    for (int32_t p0 : {0, 5, 9}) {
        SCOPED_TRACE(p0);
        MoleField field = spreadField();
        field.random.seed(7);
        field.moleTable[3].phase = p0;
        MissionTally tally;
        const std::vector<int> frames = framesUntilMoved(field, tally, 3);
        EXPECT_EQ(frames, expectedAppearance(p0));
        EXPECT_EQ(static_cast<int>(frames.size()), 40 - p0);
        // The others all started at phase 0: with p0 = 0 they sank away in the same tick.
        EXPECT_EQ(tally.escapeCount, p0 == 0 ? kMoleCount : 1);
    }
}

TEST(MoleLifeCycle, FullHeightLastsOneTickWithDirectionAlreadyTurned) {
    MoleField field = spreadField();
    field.moleTable[0].phase = 23;
    MissionTally tally;
    NullFieldPainter painter;
    tickField(field, tally, painter);
    EXPECT_EQ(field.moleTable[0].phase, 24);
    EXPECT_EQ(field.moleTable[0].direction, 1);
    tickField(field, tally, painter);
    EXPECT_EQ(field.moleTable[0].phase, 23);
    EXPECT_EQ(field.moleTable[0].direction, 1);
}

TEST(MoleLifeCycle, KnockOutShowsFrame15ForEightTicksAndHealsOnTheEighth) {
    MoleField field = spreadField();
    field.moleTable[2].phase = kKnockedOutPhase;
    MissionTally tally;
    RecordingPainter painter(field);
    std::vector<int> frames;
    int healTick = -1;
    for (int tick = 0; tick < 10; ++tick) {
        frames.push_back(frameShown(field.moleTable[2].phase));
        const size_t before = painter.calls.size();
        tickField(field, tally, painter);
        for (size_t i = before; i < painter.calls.size(); ++i) {
            if (painter.calls[i].op == "heal") {
                ASSERT_EQ(painter.calls[i].slot, 2);
                ASSERT_EQ(healTick, -1) << "healed twice";
                healTick = tick;
                // The knocked-out frame is drawn before the ground is healed.
                ASSERT_GT(i, before);
                EXPECT_EQ(painter.calls[i - 1].op, "compose");
                EXPECT_EQ(painter.calls[i - 1].slot, 2);
            }
        }
    }
    EXPECT_EQ(frames, (std::vector<int>{15, 15, 15, 15, 15, 15, 15, 15, -1, -1}));
    EXPECT_EQ(healTick, 7);
    // The update of the tenth tick moved it, with a fresh hole dug during play.
    const auto calls = painter.callsFor(2);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().op, "stampScars");
    EXPECT_GE(field.moleTable[2].phase, 0);
    EXPECT_LE(field.moleTable[2].phase, 9);
    EXPECT_EQ(tally.escapeCount, 0);
}

TEST(MoleLifeCycle, EscapeAtTheCapStillMovesTheMole) {
    for (int32_t start : {0, kEscapeCap - 1, kEscapeCap}) {
        SCOPED_TRACE(start);
        MoleField field = spreadField();
        field.moleTable[4] = {600, 600, 9, 1};  // last hidden tick of a sinking mole
        MissionTally tally;
        tally.escapeCount = start;
        RecordingPainter painter(field);
        tickField(field, tally, painter);
        EXPECT_EQ(tally.escapeCount, start == kEscapeCap ? kEscapeCap : start + 1);
        const MoleSlot& s = field.moleTable[4];
        EXPECT_EQ(s.direction, 0);
        EXPECT_TRUE(s.phase == -1 || (s.phase >= 0 && s.phase <= 9));
        // The old hole stays where it was; the mole got a new cell and a new hole.
        const auto calls = painter.callsFor(4);
        ASSERT_EQ(calls.size(), s.phase == -1 ? 1u : 2u);
        if (s.phase != -1) {
            EXPECT_EQ(calls[1].op, "stampScars");
            EXPECT_EQ(calls[1].x, s.x);
            EXPECT_EQ(calls[1].y, s.y);
        }
    }
}

TEST(MoleLifeCycle, BlockedMoleRetriesAndARejectedCandidateConsumesTwoDraws) {
    for (bool occupied : {false, true}) {
        SCOPED_TRACE(occupied);
        MoleField field = spreadField();
        field.moleTable[5].phase = -1;
        field.random.seed(99);
        GameRandom expected = field.random;
        const int32_t x = expected.draw() % (4000 - 64);
        const int32_t y = expected.draw() % (4000 - 64);
        if (occupied) {
            field.moleTable[6] = {x + 10, y - 10, 3, 0};  // sits on the candidate cell
        }
        MissionTally tally;
        RecordingPainter painter(field);
        tickField(field, tally, painter);
        const MoleSlot& s = field.moleTable[5];
        EXPECT_EQ(s.x, x);
        EXPECT_EQ(s.y, y);
        if (occupied) {
            EXPECT_EQ(s.phase, -1);
            EXPECT_EQ(field.random.state, expected.state);  // x and y only
            EXPECT_EQ(painter.callsFor(5).size(), 1u);      // composed, no hole
        } else {
            EXPECT_EQ(s.phase, expected.draw() % 10);
            EXPECT_EQ(field.random.state, expected.state);
            EXPECT_EQ(painter.callsFor(5).back().op, "stampScars");
        }
    }
}

TEST(MoleOverlap, StrictBoundsOnBothAxes) {
    struct Case {
        int32_t dx, dy;
        bool overlaps;
    };
    const Case cases[] = {
        {0, 0, true},   {63, 0, true},   {-63, 63, true}, {64, 0, false},  {-64, 0, false},
        {0, 64, false}, {0, -64, false}, {63, 63, true},  {64, 64, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dx << "," << c.dy);
        MoleField field = spreadField();
        field.moleTable[0] = {1000 + c.dx, 1000 + c.dy, 0, 0};
        field.moleTable[1] = {1000, 1000, 0, 0};
        EXPECT_EQ(overlapsAnother(field, 1), c.overlaps);
        EXPECT_EQ(overlapsAnother(field, 0), c.overlaps);
    }
}

TEST(MoleOverlap, HiddenKnockedOutAndBlockedMolesCountToo) {
    for (int32_t phase : {-10, -1, 0, 5, 10, 24}) {
        MoleField field = spreadField();
        field.moleTable[7] = {2000, 2000, phase, 0};
        field.moleTable[8] = {2010, 2030, 0, 0};
        EXPECT_TRUE(overlapsAnother(field, 8)) << phase;
    }
}

TEST(MolePlacement, DrawOrderAndHoles) {
    const uint32_t seed = 12345;
    MoleField field;
    field.random.seed(seed);
    RecordingPainter painter(field);
    placeInitialMoles(field, 1920, 1080, painter);

    // Replay the draws: x, y, and the waiting spread only when the candidate is accepted.
    GameRandom replay;
    replay.seed(seed);
    MoleField shadow;
    shadow.screenWidth = 1920;
    shadow.screenHeight = 1080;
    int stamps = 0;
    for (int k = 0; k < kMoleCount; ++k) {
        shadow.moleTable[k].x = replay.draw() % (1920 - 64);
        shadow.moleTable[k].y = replay.draw() % (1080 - 64);
        if (overlapsAnother(shadow, k)) {
            shadow.moleTable[k].phase = -1;
        } else {
            shadow.moleTable[k].phase = replay.draw() % 10;
            ++stamps;
        }
        EXPECT_EQ(field.moleTable[k].x, shadow.moleTable[k].x) << k;
        EXPECT_EQ(field.moleTable[k].y, shadow.moleTable[k].y) << k;
        EXPECT_EQ(field.moleTable[k].phase, shadow.moleTable[k].phase) << k;
        EXPECT_EQ(field.moleTable[k].direction, 0);
    }
    EXPECT_EQ(field.random.state, replay.state);
    // Starting holes go into the ground only, one per accepted mole, in table order.
    ASSERT_EQ(static_cast<int>(painter.calls.size()), stamps);
    int last = -1;
    for (const auto& c : painter.calls) {
        EXPECT_EQ(c.op, "stamp");
        EXPECT_GT(c.slot, last);
        last = c.slot;
    }
}

// Finds a seed whose first candidate for slot `k` lands in the top-left 64 x 64 corner,
// all earlier slots having been placed elsewhere.
TEST(MolePlacement, CornerCandidateBlockedForSlots0To18ButNotFor19) {
    // Slot 0..18 compare with the unplaced slots still at (0, 0).
    MoleField field = spreadField();
    for (int k = 0; k < kMoleCount; ++k)
        field.moleTable[k] = {};
    field.moleTable[0] = {10, 20, 0, 0};
    EXPECT_TRUE(overlapsAnother(field, 0));

    // Slot 19 compares only with placed moles: with all others far away, the corner is free.
    MoleField last = spreadField();
    last.moleTable[0] = {3000, 3000, 0, 0};  // move slot 0 off the corner
    last.moleTable[19] = {10, 20, 0, 0};
    EXPECT_FALSE(overlapsAnother(last, 19));

    // End to end: over many seeds, every corner candidate for slots 0..18 was blocked.
    int cornerBlocked = 0;
    for (uint32_t seed = 1; seed < 3000; ++seed) {
        MoleField f;
        f.random.seed(seed);
        NullFieldPainter none;
        placeInitialMoles(f, 200, 200, none);
        for (int k = 0; k < kMoleCount - 1; ++k) {
            const MoleSlot& s = f.moleTable[k];
            if (s.x < 64 && s.y < 64) {
                ASSERT_EQ(s.phase, -1) << "seed " << seed << " slot " << k;
                ++cornerBlocked;
            }
        }
    }
    EXPECT_GT(cornerBlocked, 0);
}

TEST(MolePlacement, BlockedMoleMovesOnTheFirstTick) {
    MoleField field;
    field.random.seed(4242);
    NullFieldPainter none;
    placeInitialMoles(field, 1920, 1080, none);
    int blocked = -1;
    for (int k = 0; k < kMoleCount; ++k) {
        if (field.moleTable[k].phase == -1)
            blocked = k;
    }
    if (blocked < 0) {
        field.moleTable[0].phase = -1;
        blocked = 0;
    }
    const MoleSlot before = field.moleTable[blocked];
    MissionTally tally;
    tickField(field, tally, none);
    const MoleSlot& after = field.moleTable[blocked];
    EXPECT_TRUE(after.x != before.x || after.y != before.y);
}

TEST(MolePlacement, TinyScreensNeverDivideByZero) {
    struct Case {
        int32_t w, h;
    };
    for (const Case c : {Case{1, 1}, Case{64, 64}, Case{65, 65}, Case{64, 1000}, Case{1000, 64},
                         Case{0, 0}, Case{-5, 300}}) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        MoleField field;
        field.random.seed(3);
        NullFieldPainter none;
        placeInitialMoles(field, c.w, c.h, none);
        MissionTally tally;
        for (int t = 0; t < 500; ++t)
            tickField(field, tally, none);
        for (const MoleSlot& s : field.moleTable) {
            if (c.w <= 65) {
                EXPECT_EQ(s.x, 0);
            }
            if (c.h <= 65) {
                EXPECT_EQ(s.y, 0);
            }
            EXPECT_GE(s.x, 0);
            EXPECT_GE(s.y, 0);
            EXPECT_LE(s.x, std::max(0, c.w - 65));
            EXPECT_LE(s.y, std::max(0, c.h - 65));
        }
    }
}

TEST(MolePlacement, WideTallScreensKeepTheExactRemainder) {
    // On a screen 1000 pixels tall but 64 wide, y still follows the generator exactly.
    MoleField field;
    field.random.seed(11);
    NullFieldPainter none;
    placeInitialMoles(field, 64, 1000, none);
    GameRandom replay;
    replay.seed(11);
    replay.draw();  // x
    EXPECT_EQ(field.moleTable[0].x, 0);
    EXPECT_EQ(field.moleTable[0].y, replay.draw() % (1000 - 64));
}

}  // namespace
}  // namespace mole
