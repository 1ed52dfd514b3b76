// What must hold after every event of a headless game, whatever the input: the soak run and
// the fuzzer both drive games through the shell and ask this after each event.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "picture/surface.h"
#include "shell/headless/headless.h"

namespace mole {

// A set of 24-bit colours as a bitmap of 2^24 bits (2 MiB), so that a pixel is looked up in
// one load however many colours the snapshot has.
class ColourSet {
  public:
    ColourSet();
    void add(Pixel p);
    bool contains(Pixel p) const {
        return p <= kColourBits && ((words_[p >> 6] >> (p & 63u)) & 1u) != 0;
    }
    // Empties the set; cheap when few colours were added.
    void clear();
    std::size_t size() const { return added_.size(); }

  private:
    std::vector<uint64_t> words_;
    std::vector<Pixel> added_;
};

class InvariantWatch {
  public:
    // Call right after game.start(snapshot, ...). Learns the colours the window may show
    // (those of the snapshot as fitted to the screen, and the visible colours of the sprite
    // sheet) and the counters to compare later ones with.
    void begin(const HeadlessGame& game, const Surface& snapshot);

    // The rules of the game and of the program's life: moles inside the screen, phases and
    // directions in their ranges, above-ground moles never closer than 64 pixels on both
    // axes, counters within their caps and never going down, hitCount never past 100, a
    // running game always has its timer running, an ended one has released its surfaces.
    // Returns an empty string when everything holds, else what broke.
    std::string checkState(const HeadlessGame& game);

    // Every pixel of the window is a snapshot or sprite colour. Whole-window work.
    std::string checkWholeWindow(const HeadlessGame& game) const;
    // The cells of the moles in `cellsToScan` (bit k for mole k) hold only allowed colours.
    // With `afterPlayingTick` (the last event was a tick of play, so its paint copied every
    // mole cell from the view) each mole cell of the window must also equal the view's.
    std::string checkCells(const HeadlessGame& game, uint32_t cellsToScan,
                           bool afterPlayingTick) const;
    // `count` window pixels at positions drawn from `seed`, each an allowed colour.
    std::string checkSample(const HeadlessGame& game, uint64_t seed, int count) const;

    const ColourSet& allowed() const { return allowed_; }

  private:
    ColourSet allowed_;
    MissionTally last_;
};

}  // namespace mole
