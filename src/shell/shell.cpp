// The shell's window handlers, written once for every front end.
#include "assets/embedded_assets.h"
#include "game/strike.h"
#include "picture/field_painter.h"
#include "picture/raster.h"
#include "shell/host.h"
#include "shell/mission.h"

namespace mole {

namespace {

// MissionHost on top of a front end. quit() is where every way out meets: it releases the
// surfaces and ends the loop exactly once, and marks the state so that a dialog returning
// after the window was destroyed under it leads to nothing more.
class ShellHost final : public MissionHost {
  public:
    ShellHost(ShellState& state, FrontEnd& frontEnd) : state_(state), frontEnd_(frontEnd) {}

    DialogAnswer ask(std::string_view text, std::string_view caption, DialogButtons buttons,
                     bool topmost) override {
        if (state_.ended) {
            return buttons == DialogButtons::Ok ? DialogAnswer::Ok : DialogAnswer::No;
        }
        return frontEnd_.ask(text, caption, buttons, topmost);
    }
    void playSound(int soundId) override { frontEnd_.playSound(soundId); }
    void startTick() override { frontEnd_.startTick(); }
    void stopTick() override { frontEnd_.stopTick(); }
    void invalidateAll() override { frontEnd_.invalidateAll(); }
    void presentField() override {
        if (!state_.ended) {
            frontEnd_.presentField(state_.surfaces.field);
        }
    }
    void quit() override {
        if (state_.ended) {
            return;
        }
        state_.ended = true;
        state_.mode = GameMode::Halted;
        releaseSurfaces(state_.surfaces);
        frontEnd_.endEventLoop();
    }

  private:
    ShellState& state_;
    FrontEnd& frontEnd_;
};

class SoundFeedback final : public StrikeFeedback {
  public:
    explicit SoundFeedback(FrontEnd& frontEnd) : frontEnd_(frontEnd) {}
    void swing() override { frontEnd_.playSound(kSwingSoundId); }
    void hit() override { frontEnd_.playSound(kHitSoundId); }

  private:
    FrontEnd& frontEnd_;
};

}  // namespace

void onCreate(ShellState& state, FrontEnd& frontEnd, const Surface& snapshot,
              uint32_t seedSeconds) {
    const int32_t w = state.screenWidth > 0 ? state.screenWidth : 0;
    const int32_t h = state.screenHeight > 0 ? state.screenHeight : 0;
    const assets::Blob sheet = assets::spriteSheetBitmap();
    if (snapshot.width == w && snapshot.height == h) {
        createSurfaces(state.surfaces, snapshot, sheet.data, sheet.size);
    } else {
        Surface fitted(w, h);
        bitBlt(fitted, 0, 0, w, h, snapshot, 0, 0, RasterOp::SrcCopy);
        createSurfaces(state.surfaces, fitted, sheet.data, sheet.size);
    }
    state.moles.random.seed(seedSeconds);
    SurfacePainter painter(state.surfaces);
    placeInitialMoles(state.moles, state.screenWidth, state.screenHeight, painter);
    state.mode = GameMode::AwaitingIntro;
    frontEnd.invalidateAll();
    frontEnd.startTick();
}

void onPaint(const ShellState& state, PaintTarget& target) {
    if (state.ended) {
        return;
    }
    paintWindow(state.surfaces, state.moles, state.mode == GameMode::Playing, target);
}

void onTimer(ShellState& state, FrontEnd& frontEnd) {
    if (state.ended) {
        return;
    }
    if (state.mode == GameMode::AwaitingIntro) {
        ShellHost host(state, frontEnd);
        runIntro(state, host);
        return;
    }
    // A timer event already queued when the timer was stopped must not move the moles
    // behind an open dialog.
    if (state.mode != GameMode::Playing) {
        return;
    }
    SurfacePainter painter(state.surfaces);
    tickField(state.moles, state.tally, painter);
    frontEnd.invalidateAll();
}

void onLeftButtonDown(ShellState& state, FrontEnd& frontEnd) {
    if (state.ended) {
        return;
    }
    const ScreenPoint p = frontEnd.cursorPosition();
    frontEnd.showStruckCursor();
    SoundFeedback feedback(frontEnd);
    if (strikeAt(state.moles, state.tally, p.x, p.y, feedback)) {
        ShellHost host(state, frontEnd);
        runClosing(state, host);
    }
}

void onRightButtonDown(ShellState& state, FrontEnd& frontEnd) {
    ShellHost host(state, frontEnd);
    runNuke(state, host);
}

void onDestroy(ShellState& state, FrontEnd& frontEnd) {
    ShellHost host(state, frontEnd);
    host.quit();
}

}  // namespace mole
