#include "soak/invariants.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "game/constants.h"
#include "picture/raster.h"

namespace mole {

namespace {

template <typename... Args>
std::string format(const char* fmt, Args... args) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, fmt, args...);
    return buffer;
}

// Where a mole's cell may lie on an axis of `extent` pixels: anywhere the whole cell fits,
// or at 0 when there is no room to move.
bool coordinateInRange(int32_t v, int32_t extent) {
    return extent > kCellSize ? v >= 0 && v <= extent - kCellSize - 1 : v == 0;
}

uint64_t splitMix(uint64_t& s) {
    uint64_t z = (s += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::string colourAt(const Surface& shown, int32_t x, int32_t y, const ColourSet& allowed) {
    const Pixel p = shown.at(x, y);
    if (allowed.contains(p)) {
        return {};
    }
    return format("window pixel (%d, %d) is 0x%08X, neither a snapshot nor a sprite colour", x, y,
                  p);
}

}  // namespace

ColourSet::ColourSet() : words_(std::size_t{1} << 18, 0) {}

void ColourSet::add(Pixel p) {
    p &= kColourBits;
    uint64_t& word = words_[p >> 6];
    const uint64_t bit = uint64_t{1} << (p & 63u);
    if ((word & bit) == 0) {
        word |= bit;
        added_.push_back(p);
    }
}

void ColourSet::clear() {
    if (added_.size() > words_.size() / 8) {
        std::fill(words_.begin(), words_.end(), 0);
    } else {
        for (const Pixel p : added_) {
            words_[p >> 6] = 0;
        }
    }
    added_.clear();
}

void InvariantWatch::begin(const HeadlessGame& game, const Surface& snapshot) {
    allowed_.clear();
    const int32_t w = game.frontEnd.window.width();
    const int32_t h = game.frontEnd.window.height();
    const bool fits = snapshot.width == w && snapshot.height == h;
    const int32_t cw = fits ? w : std::min(w, snapshot.width);
    const int32_t ch = fits ? h : std::min(h, snapshot.height);
    // A snapshot of another size is fitted: what it does not cover stays black.
    if (cw < w || ch < h) {
        allowed_.add(kBlack);
    }
    for (int32_t y = 0; y < ch; ++y) {
        const Pixel* row = snapshot.row(y);
        Pixel previous = ~Pixel{0};
        for (int32_t x = 0; x < cw; ++x) {
            if (row[x] != previous) {
                previous = row[x];
                allowed_.add(previous);
            }
        }
    }
    // Pure black in the sheet is transparent: the ground shows there, never the black.
    for (const Pixel p : game.state.surfaces.spriteSheet.pixels) {
        if (p != kBlack) {
            allowed_.add(p);
        }
    }
    last_ = game.state.tally;
}

std::string InvariantWatch::checkState(const HeadlessGame& game) {
    const ShellState& s = game.state;
    const HeadlessFrontEnd& fe = game.frontEnd;
    const MissionTally& t = s.tally;

    if (t.hitCount < 0 || t.hitCount > kHitsToEndMission) {
        return format("hitCount %d outside 0..100", t.hitCount);
    }
    if (t.swingCount < 0 || t.swingCount > kSwingCap) {
        return format("swingCount %d outside 0..%d", t.swingCount, kSwingCap);
    }
    if (t.escapeCount < 0 || t.escapeCount > kEscapeCap) {
        return format("escapeCount %d outside 0..%d", t.escapeCount, kEscapeCap);
    }
    if (t.hitCount > t.swingCount) {
        return format("hitCount %d above swingCount %d", t.hitCount, t.swingCount);
    }
    if (t.hitCount < last_.hitCount || t.swingCount < last_.swingCount ||
        t.escapeCount < last_.escapeCount) {
        return format("a counter went down: hits %d->%d swings %d->%d escapes %d->%d",
                      last_.hitCount, t.hitCount, last_.swingCount, t.swingCount, last_.escapeCount,
                      t.escapeCount);
    }
    last_ = t;

    if (s.ended != fe.loopEnded) {
        return format("state.ended %d but event loop ended %d", s.ended, fe.loopEnded);
    }
    if (s.ended) {
        const Surfaces& f = s.surfaces;
        if (!f.field.empty() || !f.view.empty() || !f.pristine.empty() || !f.scars.empty()) {
            return "the program ended without releasing its surfaces";
        }
        if (fe.timerRunning) {
            return "the program ended with its timer running";
        }
        return {};
    }
    if (t.hitCount == kHitsToEndMission) {
        return "the hundredth hit did not end the program";
    }
    if (s.mode != GameMode::Playing && s.mode != GameMode::AwaitingIntro) {
        return format("between events the mode is %d", static_cast<int>(s.mode));
    }
    if (!fe.timerRunning) {
        return "a running game has no timer: it can never move again";
    }

    const auto& table = s.moles.moleTable;
    for (int k = 0; k < kMoleCount; ++k) {
        const MoleSlot& m = table[k];
        if (!coordinateInRange(m.x, s.screenWidth) || !coordinateInRange(m.y, s.screenHeight)) {
            return format("mole %d at (%d, %d) is outside the %d x %d screen", k, m.x, m.y,
                          s.screenWidth, s.screenHeight);
        }
        const bool phaseOk = m.direction == 0 ? m.phase >= kKnockedOutPhase && m.phase < kRiseLimit
                             : m.direction == 1 ? m.phase > kEscapePhase && m.phase <= kRiseLimit
                                                : false;
        if (!phaseOk) {
            return format("mole %d has phase %d, direction %d", k, m.phase, m.direction);
        }
    }
    for (int i = 0; i < kMoleCount; ++i) {
        if (!isAboveGround(table[i])) {
            continue;
        }
        for (int j = i + 1; j < kMoleCount; ++j) {
            if (!isAboveGround(table[j])) {
                continue;
            }
            const int32_t dx = table[i].x - table[j].x;
            const int32_t dy = table[i].y - table[j].y;
            if (dx > -kCellSize && dx < kCellSize && dy > -kCellSize && dy < kCellSize) {
                return format("moles %d (%d, %d) and %d (%d, %d) are both above ground and overlap",
                              i, table[i].x, table[i].y, j, table[j].x, table[j].y);
            }
        }
    }
    return {};
}

std::string InvariantWatch::checkWholeWindow(const HeadlessGame& game) const {
    const Surface& shown = game.frontEnd.window.shown;
    for (int32_t y = 0; y < shown.height; ++y) {
        const Pixel* row = shown.row(y);
        for (int32_t x = 0; x < shown.width; ++x) {
            if (!allowed_.contains(row[x])) {
                return colourAt(shown, x, y, allowed_);
            }
        }
    }
    return {};
}

std::string InvariantWatch::checkCells(const HeadlessGame& game, uint32_t cellsToScan,
                                       bool afterPlayingTick) const {
    const ShellState& s = game.state;
    if (s.ended) {
        return {};
    }
    const Surface& shown = game.frontEnd.window.shown;
    const Surface& view = s.surfaces.view;
    const Rect screen{0, 0, shown.width, shown.height};
    for (int k = 0; k < kMoleCount; ++k) {
        const MoleSlot& m = s.moles.moleTable[k];
        const Rect cell = intersection(Rect{m.x, m.y, kCellSize, kCellSize}, screen);
        for (int32_t y = cell.y; y < cell.y + cell.height; ++y) {
            const Pixel* w = shown.row(y) + cell.x;
            if (afterPlayingTick &&
                std::memcmp(w, view.row(y) + cell.x, sizeof(Pixel) * cell.width) != 0) {
                return format("window cell of mole %d at (%d, %d), row %d, differs from the view",
                              k, m.x, m.y, y);
            }
            if ((cellsToScan >> k) & 1u) {
                for (int32_t x = 0; x < cell.width; ++x) {
                    if (!allowed_.contains(w[x])) {
                        return colourAt(shown, cell.x + x, y, allowed_);
                    }
                }
            }
        }
    }
    return {};
}

std::string InvariantWatch::checkSample(const HeadlessGame& game, uint64_t seed, int count) const {
    const Surface& shown = game.frontEnd.window.shown;
    if (shown.empty()) {
        return {};
    }
    for (int i = 0; i < count; ++i) {
        const auto x = static_cast<int32_t>(splitMix(seed) % static_cast<uint64_t>(shown.width));
        const auto y = static_cast<int32_t>(splitMix(seed) % static_cast<uint64_t>(shown.height));
        std::string failure = colourAt(shown, x, y, allowed_);
        if (!failure.empty()) {
            return failure;
        }
    }
    return {};
}

}  // namespace mole
