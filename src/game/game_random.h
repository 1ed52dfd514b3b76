// The one pseudo-random source of the game: a linear congruential generator whose exact
// sequence matters, because seeded runs (tests, demos) must replay draw for draw.
#pragma once

#include <cstdint>

namespace mole {

struct GameRandom {
    uint32_t state = 0;

    void seed(uint32_t seconds) { state = seconds; }

    // An integer from 0 to 32767.
    int32_t draw() {
        state = state * 214013u + 2531011u;
        return static_cast<int32_t>((state >> 16) & 0x7FFFu);
    }
};

}  // namespace mole
