#include "shell/gtk/sdl_sound.h"

#include <SDL.h>
#include <dlfcn.h>

namespace mole {

namespace {

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// Without a sound card, ALSA's library writes its failures to stderr while SDL looks for a
// device. No device means silence and nothing else, so its error handler is replaced, in the
// library SDL will load (SDL opens the same one, and a loaded library is shared).
void quietAlsa() {
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL);
    if (alsa == nullptr) {
        return;
    }
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    auto setHandler = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (setHandler != nullptr) {
        setHandler(ignoreAlsaError);
    }
    // Kept loaded: SDL's copy is this one.
}

}  // namespace

std::vector<uint8_t> convertWav(const unsigned char* wav, std::size_t size, int format,
                                int channels, int rate) {
    std::vector<uint8_t> out;
    if (wav == nullptr || size == 0 || size > 0x7FFFFFFF) {
        return out;
    }
    SDL_RWops* rw = SDL_RWFromConstMem(wav, static_cast<int>(size));
    if (rw == nullptr) {
        return out;
    }
    SDL_AudioSpec wavFormat{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV_RW(rw, 1, &wavFormat, &samples, &length) == nullptr) {
        return out;
    }
    // The stream resamples properly (105 is 22,255 Hz, which no device runs at).
    SDL_AudioStream* stream = SDL_NewAudioStream(
        wavFormat.format, wavFormat.channels, wavFormat.freq, static_cast<SDL_AudioFormat>(format),
        static_cast<Uint8>(channels), rate);
    if (stream != nullptr && SDL_AudioStreamPut(stream, samples, static_cast<int>(length)) == 0 &&
        SDL_AudioStreamFlush(stream) == 0) {
        out.resize(static_cast<std::size_t>(SDL_AudioStreamAvailable(stream)));
        const int got = SDL_AudioStreamGet(stream, out.data(), static_cast<int>(out.size()));
        out.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    }
    if (stream != nullptr) {
        SDL_FreeAudioStream(stream);
    }
    SDL_FreeWAV(samples);
    return out;
}

SdlSound::SdlSound() {
    // SDL would otherwise take SIGINT and SIGTERM for its own event queue, and the window's
    // owner needs them to end the program.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    quietAlsa();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return;
    }
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = 512;  // about 12 ms: a click's sound starts with the click
    SDL_AudioSpec have{};
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_ANY_CHANGE);
    if (device_ == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    deviceFormat_ = have.format;
    deviceChannels_ = have.channels;
    deviceRate_ = have.freq;
    SDL_PauseAudioDevice(device_, 0);
}

SdlSound::~SdlSound() {
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

const std::vector<uint8_t>& SdlSound::converted(const unsigned char* wav, std::size_t size) {
    for (const Converted& c : cache_) {
        if (c.source == wav) {
            return c.samples;
        }
    }
    cache_.push_back({wav, convertWav(wav, size, deviceFormat_, deviceChannels_, deviceRate_)});
    return cache_.back().samples;
}

void SdlSound::play(const unsigned char* wav, std::size_t size) {
    if (device_ == 0) {
        return;
    }
    const std::vector<uint8_t>& samples = converted(wav, size);
    SDL_ClearQueuedAudio(device_);
    if (!samples.empty()) {
        SDL_QueueAudio(device_, samples.data(), static_cast<Uint32>(samples.size()));
    }
}

}  // namespace mole
