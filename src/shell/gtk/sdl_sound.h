// The two short sounds, played through SDL2's audio subsystem from the WAV bytes the program
// carries. One sound at a time: starting one cuts off the one still playing. Without a usable
// audio device every call does nothing, quietly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mole {

class SdlSound {
  public:
    // Opens the default output device. Failure leaves the object silent.
    SdlSound();
    ~SdlSound();
    SdlSound(const SdlSound&) = delete;
    SdlSound& operator=(const SdlSound&) = delete;

    bool hasDevice() const { return device_ != 0; }

    // Starts the WAV at `wav` (the same bytes each time for the same sound), cutting off
    // whatever is still playing. A WAV that does not decode is silence.
    void play(const unsigned char* wav, std::size_t size);

    // The WAV converted to the device's format; empty when it does not decode. Converted once
    // per distinct WAV, so a click costs a queue refill only.
    const std::vector<uint8_t>& converted(const unsigned char* wav, std::size_t size);

  private:
    struct Converted {
        const unsigned char* source = nullptr;
        std::vector<uint8_t> samples;
    };

    uint32_t device_ = 0;
    int deviceFormat_ = 0;
    int deviceChannels_ = 0;
    int deviceRate_ = 0;
    std::vector<Converted> cache_;
};

// A WAV in any format SDL reads, resampled and converted into `format` (an SDL_AudioFormat),
// `channels`, `rate`. Empty when the WAV does not decode or conversion fails.
std::vector<uint8_t> convertWav(const unsigned char* wav, std::size_t size, int format,
                                int channels, int rate);

}  // namespace mole
