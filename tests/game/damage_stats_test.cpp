#include "game/damage_stats.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <optional>

namespace mole {
namespace {

TEST(ComputeScore, WorkedCases) {
    struct Case {
        int32_t escapes;
        int32_t hit;
        int32_t defence;
        int32_t recovery;
        std::optional<int32_t> points;
    };
    const Case cases[] = {
        {0, 100, 100, 0, 1000},
        {0, 100, 100, 12, 1120},
        // T0 96300, T1 63558, T2 59113, T3 60886.
        {37, 66, 93, 3, 608},
        // T3 23760.
        {250, 40, 80, -1, 237},
        {1000, 100, 100, 0, 0},
        {1000, 0, 0, 50, 0},
        {1001, 100, 100, 0, std::nullopt},
        // T3 comes out as exactly 0 here, still no score.
        {1001, 0, 100, 0, std::nullopt},
        {1'000'000, 100, 100, 0, std::nullopt},
        // Recovery low enough to drive T3 below zero.
        {0, 100, 100, -101, std::nullopt},
        // A negative escape count is no tally.
        {-1, 100, 100, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.escapes << " escapes, " << c.hit << "/" << c.defence
                                        << "/" << c.recovery);
        EXPECT_EQ(computeScore(c.escapes, c.hit, c.defence, c.recovery), c.points);
    }
}

TEST(ComputeScore, ExtremeRatesStayWithinTheArithmetic) {
    // Far outside anything the report produces; must neither overflow nor claim a score it
    // cannot hold.
    EXPECT_EQ(computeScore(0, INT32_MIN, INT32_MIN, INT32_MAX), std::nullopt);
    const std::optional<int32_t> big = computeScore(0, 100, 100, INT32_MAX);
    ASSERT_TRUE(big.has_value());
    EXPECT_EQ(*big, (100'000 + 1000 * 1'000'000) / 100);
}

TEST(HitRate, IsAMillionOverTheSwings) {
    EXPECT_EQ(hitRate(150), 6666);
    EXPECT_EQ(hitRate(100), 10000);
    EXPECT_EQ(hitRate(1'000'100), 0);
    EXPECT_EQ(hitRate(0), 0);
}

TEST(SplitPercent, KeepsTheSignApartFromTheDigits) {
    struct Case {
        PercentHundredths v;
        bool negative;
        int32_t whole;
        int32_t fraction;
    };
    const Case cases[] = {
        {6605, false, 66, 5},  {600, false, 6, 0},     {10000, false, 100, 0},
        {6666, false, 66, 66}, {0, false, 0, 0},       {-50, true, 0, 50},
        {-125, true, 1, 25},   {-10000, true, 100, 0}, {INT32_MIN, true, 21474836, 48},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.v);
        const PercentParts parts = splitPercent(c.v);
        EXPECT_EQ(parts.negative, c.negative);
        EXPECT_EQ(parts.whole, c.whole);
        EXPECT_EQ(parts.fraction, c.fraction);
    }
    // The score works with the whole part truncated toward zero.
    EXPECT_EQ(wholePercent(-150), -1);
    EXPECT_EQ(wholePercent(6666), 66);
}

// The three pictures of a screen, all alike until a test damages them.
struct Screens {
    Surface pristine;
    Surface field;
    Surface scars;
    Screens(int32_t w, int32_t h)
        : pristine(w, h, rgb(10, 120, 200)), field(pristine), scars(pristine) {
        // Some texture, so that equality is tested on differing colours.
        for (std::size_t i = 0; i < pristine.pixels.size(); ++i) {
            pristine.pixels[i] = static_cast<Pixel>(i * 2654435761u) & kColourBits;
        }
        field = pristine;
        scars = pristine;
    }
};

void damage(Surface& s, std::size_t index) {
    s.pixels[index] ^= 0x000001u;
}

void damageBlock(Surface& s, int32_t x0, int32_t y0, int32_t side) {
    for (int32_t y = y0; y < y0 + side; ++y) {
        for (int32_t x = x0; x < x0 + side; ++x) {
            s.at(x, y) = kBlack == s.at(x, y) ? kWhite : kBlack;
        }
    }
}

TEST(ComputeDamageStats, UntouchedScreen) {
    for (const auto& [w, h] : {std::pair{640, 480}, std::pair{1920, 1200}, std::pair{3840, 2160}}) {
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        Screens s(w, h);
        const DamageStats stats = computeDamageStats(s.pristine, s.field, s.scars, w, h);
        EXPECT_EQ(stats.devastation, 0);
        EXPECT_EQ(stats.defence, 10000);
        EXPECT_EQ(stats.recovery, 0);
    }
}

TEST(ComputeDamageStats, KnownCountsOnASmallScreen) {
    // 100 x 20: 2000 pixels, a tenth of 200. Damage lies both in the first 1024 pixels and in
    // the rest, and in the very last pixel.
    Screens s(100, 20);
    for (const std::size_t i : {5u, 1500u, 1999u}) {
        damage(s.field, i);
    }
    for (const std::size_t i : {0u, 7u, 100u, 512u, 1023u, 1024u, 1025u, 1600u, 1998u, 1999u}) {
        damage(s.scars, i);
    }
    const DamageStats stats = computeDamageStats(s.pristine, s.field, s.scars, 100, 20);
    EXPECT_EQ(stats.defence, 1997 * 1000 / 200);    // 9985
    EXPECT_EQ(stats.devastation, 10 * 1000 / 200);  // 50
    EXPECT_EQ(stats.recovery, 35);
}

TEST(ComputeDamageStats, LargeScreensDoNotOverflow) {
    // intact x 1000 passes 2^31 on both: 2,304,000 and 8,294,400 pixels.
    {
        Screens s(1920, 1200);  // tenth 230400
        damageBlock(s.field, 0, 0, 64);
        const DamageStats stats = computeDamageStats(s.pristine, s.field, s.scars, 1920, 1200);
        EXPECT_EQ(stats.defence, 9982);  // 2299904000 / 230400
        EXPECT_EQ(stats.devastation, 0);
        EXPECT_EQ(stats.recovery, -18);
    }
    {
        Screens s(3840, 2160);  // tenth 829440
        damageBlock(s.field, 1000, 1000, 64);
        damageBlock(s.scars, 1000, 1000, 64);
        damageBlock(s.scars, 3776, 2096, 64);
        const DamageStats stats = computeDamageStats(s.pristine, s.field, s.scars, 3840, 2160);
        EXPECT_EQ(stats.defence, 9995);   // 8290304000 / 829440
        EXPECT_EQ(stats.devastation, 9);  // 8192000 / 829440
        EXPECT_EQ(stats.recovery, 4);
    }
}

TEST(ComputeDamageStats, SurfacesOfOtherSizesAreReadOnlyWhereTheyExist) {
    // The rows a short scars picture lacks are not compared: they count as neither intact nor
    // scarred, so the defended share halves.
    {
        Screens s(10, 10);
        Surface shortScars(10, 5);
        for (int32_t y = 0; y < 5; ++y) {
            for (int32_t x = 0; x < 10; ++x) {
                shortScars.at(x, y) = s.pristine.at(x, y);
            }
        }
        const DamageStats stats = computeDamageStats(s.pristine, s.field, shortScars, 10, 10);
        EXPECT_EQ(stats.defence, 5000);
        EXPECT_EQ(stats.devastation, 0);
    }
    // A wider pristine picture: rows are read with its own stride.
    {
        Screens s(10, 10);
        Surface wide(12, 10, kWhite);
        for (int32_t y = 0; y < 10; ++y) {
            for (int32_t x = 0; x < 10; ++x) {
                wide.at(x, y) = s.pristine.at(x, y);
            }
        }
        damage(s.scars, 99);
        const DamageStats stats = computeDamageStats(wide, s.field, s.scars, 10, 10);
        EXPECT_EQ(stats.defence, 10000);
        EXPECT_EQ(stats.devastation, 100);
    }
    // No pictures at all: nothing intact, nothing scarred.
    {
        const Surface none;
        const DamageStats stats = computeDamageStats(none, none, none, 1920, 1080);
        EXPECT_EQ(stats.defence, 0);
        EXPECT_EQ(stats.devastation, 0);
        EXPECT_EQ(stats.recovery, -10000);
    }
}

TEST(ComputeDamageStats, ScreensTooSmallForATenth) {
    // 3 x 3 has a tenth of 0: the exact share is taken instead of dividing by zero.
    Screens s(3, 3);
    EXPECT_EQ(computeDamageStats(s.pristine, s.field, s.scars, 3, 3).defence, 10000);
    damage(s.field, 4);
    damage(s.scars, 4);
    const DamageStats stats = computeDamageStats(s.pristine, s.field, s.scars, 3, 3);
    EXPECT_EQ(stats.defence, 8 * 10000 / 9);
    EXPECT_EQ(stats.devastation, 10000 / 9);
    // An empty screen has nothing to lose.
    for (const auto& [w, h] : {std::pair{0, 0}, std::pair{0, 5}, std::pair{-3, 4}}) {
        const DamageStats none = computeDamageStats(s.pristine, s.field, s.scars, w, h);
        EXPECT_EQ(none.defence, 10000);
        EXPECT_EQ(none.devastation, 0);
        EXPECT_EQ(none.recovery, 0);
    }
}

}  // namespace
}  // namespace mole
