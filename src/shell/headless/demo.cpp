// A whole mission played by itself through the headless front end: a seeded autoplayer
// accepts the mission, strikes the moles it can see, misses now and then, lets some go, and
// asks for the detailed report. Each dialog is printed as it appears; the mission is written
// as an animated WebP and the final ground as a PNG into the folder given (default
// ./mole-demo). A tool beside the game, not part of it.
#include <webp/encode.h>
#include <webp/mux.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "game/game_random.h"
#include "shell/headless/headless.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace {

using namespace mole;

constexpr int32_t kWidth = 1920;
constexpr int32_t kHeight = 1080;
constexpr int kScale = 3;          // frames are a third of the screen on each side
constexpr int kTicksPerFrame = 4;  // and the animation runs at four times the speed
constexpr int kMaxTicks = 20000;

std::vector<uint8_t> rgbaScaled(const Surface& s, int scale) {
    const int w = s.width / scale;
    const int h = s.height / scale;
    std::vector<uint8_t> out(static_cast<size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Pixel p = s.at(x * scale, y * scale);
            uint8_t* o = &out[(static_cast<size_t>(y) * w + x) * 4];
            o[0] = (p >> 16) & 0xFF;
            o[1] = (p >> 8) & 0xFF;
            o[2] = p & 0xFF;
            o[3] = 0xFF;
        }
    }
    return out;
}

class Animation {
  public:
    Animation(int w, int h) : w_(w), h_(h) {
        WebPAnimEncoderOptions options;
        WebPAnimEncoderOptionsInit(&options);
        options.allow_mixed = 1;
        encoder_ = WebPAnimEncoderNew(w, h, &options);
        WebPConfigInit(&config_);
        config_.quality = 70;
        config_.method = 1;
    }
    ~Animation() { WebPAnimEncoderDelete(encoder_); }

    void add(const std::vector<uint8_t>& rgba) {
        WebPPicture picture;
        WebPPictureInit(&picture);
        picture.width = w_;
        picture.height = h_;
        picture.use_argb = 1;
        WebPPictureImportRGBA(&picture, rgba.data(), w_ * 4);
        WebPAnimEncoderAdd(encoder_, &picture, timestamp_, &config_);
        WebPPictureFree(&picture);
        timestamp_ += kTicksPerFrame * static_cast<int>(kTickMs) / 4;
        ++frames_;
    }

    bool write(const std::string& path) {
        WebPAnimEncoderAdd(encoder_, nullptr, timestamp_, nullptr);
        WebPData data;
        WebPDataInit(&data);
        bool ok = WebPAnimEncoderAssemble(encoder_, &data) != 0;
        if (ok) {
            FILE* f = std::fopen(path.c_str(), "wb");
            ok = f && std::fwrite(data.bytes, 1, data.size, f) == data.size;
            if (f) {
                ok = std::fclose(f) == 0 && ok;
            }
        }
        WebPDataClear(&data);
        return ok;
    }
    int frames() const { return frames_; }

  private:
    int w_, h_;
    WebPAnimEncoder* encoder_;
    WebPConfig config_;
    int timestamp_ = 0;
    int frames_ = 0;
};

// Strikes a visible mole now and then, aiming at its head with a shaky hand; sometimes
// swings at nothing.
void autoplay(HeadlessGame& game, GameRandom& hand) {
    if (hand.draw() % 5 != 0) {
        return;
    }
    if (hand.draw() % 8 == 0) {
        game.leftClick(hand.draw() % kWidth, hand.draw() % kHeight);
        return;
    }
    const auto& table = game.state.moles.moleTable;
    const int start = hand.draw() % kMoleCount;
    for (int i = 0; i < kMoleCount; ++i) {
        const MoleSlot& m = table[(start + i) % kMoleCount];
        if (m.phase > 12) {
            game.leftClick(m.x + 39 + hand.draw() % 41 - 20, m.y + 8 + hand.draw() % 41 - 20);
            return;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path out = argc > 1 ? argv[1] : "mole-demo";
    std::error_code ec;
    std::filesystem::create_directories(out, ec);
    if (ec) {
        std::fprintf(stderr, "mole-demo: cannot create %s: %s\n", out.c_str(),
                     ec.message().c_str());
        return 1;
    }

    HeadlessGame game(kWidth, kHeight);
    Surface finalGround;
    game.frontEnd.onDialogShown = [&](const DialogRecord& d) {
        std::printf("【%s】\n%s\n\n", d.caption.c_str(), d.text.c_str());
        std::fflush(stdout);
        if (d.caption == "任務完了！") {
            finalGround = game.frontEnd.window.shown;
        }
    };
    game.frontEnd.answers = {ScriptedAnswer::Yes, ScriptedAnswer::Ok, ScriptedAnswer::Ok,
                             ScriptedAnswer::Yes};

    Animation animation(kWidth / kScale, kHeight / kScale);
    GameRandom hand;
    hand.seed(20261211);
    game.start(/*seed=*/1234);
    for (int t = 0; t < kMaxTicks && game.running(); ++t) {
        if (!game.tick()) {
            break;
        }
        if (t % kTicksPerFrame == 0) {
            animation.add(rgbaScaled(game.frontEnd.window.shown, kScale));
        }
        autoplay(game, hand);
    }
    if (!finalGround.empty()) {
        animation.add(rgbaScaled(finalGround, kScale));
    }

    const std::string webp = (out / "mission.webp").string();
    const std::string png = (out / "final-ground.png").string();
    bool ok = animation.write(webp);
    if (!finalGround.empty()) {
        const std::vector<uint8_t> rgba = rgbaScaled(finalGround, 1);
        ok = stbi_write_png(png.c_str(), finalGround.width, finalGround.height, 4, rgba.data(),
                            finalGround.width * 4) != 0 &&
             ok;
    }
    const MissionTally& t = game.state.tally;
    std::printf("%d hits, %d swings, %d escapes in %d ticks; %d frames\n", t.hitCount, t.swingCount,
                t.escapeCount, game.timerFirings, animation.frames());
    std::printf("wrote %s and %s\n", webp.c_str(), png.c_str());
    if (!ok) {
        std::fprintf(stderr, "mole-demo: could not write the pictures into %s\n", out.c_str());
        return 1;
    }
    return 0;
}
