#include "shell/headless/headless.h"

#include <algorithm>

#include "shell/default_desktop.h"

namespace mole {

namespace {

// About the size of a message box, centred on the screen.
Rect centredDialogArea(int32_t w, int32_t h) {
    const int32_t dw = std::min(w, 420);
    const int32_t dh = std::min(h, 200);
    return Rect{(w - dw) / 2, (h - dh) / 2, dw, dh};
}

}  // namespace

HeadlessFrontEnd::HeadlessFrontEnd(HeadlessGame& game, int32_t width, int32_t height)
    : window(width, height), dialogArea(centredDialogArea(width, height)), game_(game) {}

DialogAnswer HeadlessFrontEnd::ask(std::string_view text, std::string_view caption,
                                   DialogButtons buttons, bool topmost) {
    DialogRecord record{std::string(caption), std::string(text), buttons, topmost,
                        DialogAnswer::Ok};
    events.push_back({HostEvent::Dialog, static_cast<int>(dialogs.size())});
    dialogs.push_back(record);
    // The box's modal loop serves the paints that are waiting.
    game_.pump();
    if (onDialogShown) {
        onDialogShown(record);
    }
    const size_t index = dialogs.size() - 1;
    DialogAnswer answer = answerer ? answerer(record) : scriptedAnswer(record);
    if (buttons == DialogButtons::Ok) {
        answer = DialogAnswer::Ok;
    } else if (answer == DialogAnswer::Ok) {
        answer = DialogAnswer::No;
    }
    dialogs[index].answer = answer;
    if (!loopEnded) {
        window.invalidate(dialogArea);  // the box has gone; what it covered must be repainted
    }
    return answer;
}

DialogAnswer HeadlessFrontEnd::scriptedAnswer(const DialogRecord& record) {
    if (answers.empty()) {
        return record.buttons == DialogButtons::YesNo ? DialogAnswer::Yes : DialogAnswer::Ok;
    }
    const ScriptedAnswer next = answers.front();
    answers.pop_front();
    switch (next) {
        case ScriptedAnswer::Yes:
            return DialogAnswer::Yes;
        case ScriptedAnswer::No:
            return DialogAnswer::No;
        case ScriptedAnswer::Ok:
            return DialogAnswer::Ok;
        case ScriptedAnswer::Close:
            game_.close();
            return DialogAnswer::No;
    }
    return DialogAnswer::No;
}

void HeadlessFrontEnd::playSound(int soundId) {
    events.push_back({HostEvent::Sound, soundId});
}

void HeadlessFrontEnd::startTick() {
    timerRunning = true;
    events.push_back({HostEvent::StartTick});
}

void HeadlessFrontEnd::stopTick() {
    timerRunning = false;
    events.push_back({HostEvent::StopTick});
}

void HeadlessFrontEnd::invalidateAll() {
    window.invalidateAll();
    events.push_back({HostEvent::Invalidate});
}

void HeadlessFrontEnd::presentField(const Surface& field) {
    events.push_back({HostEvent::PresentField});
    window.beginPaint();
    window.copyFromView(field, Rect{0, 0, field.width, field.height});
    window.endPaint();
}

void HeadlessFrontEnd::endEventLoop() {
    loopEnded = true;
    timerRunning = false;
    events.push_back({HostEvent::EndLoop});
}

void HeadlessFrontEnd::showStruckCursor() {
    events.push_back({HostEvent::StruckCursor});
}

HeadlessGame::HeadlessGame(int32_t screenWidth, int32_t screenHeight)
    : frontEnd(*this, std::max(screenWidth, 0), std::max(screenHeight, 0)) {
    state.screenWidth = screenWidth;
    state.screenHeight = screenHeight;
}

void HeadlessGame::start(const Surface& snapshot, uint32_t seed) {
    onCreate(state, frontEnd, snapshot, seed);
    pump();
}

void HeadlessGame::start(uint32_t seed) {
    start(defaultDesktopPicture(std::max(state.screenWidth, 0), std::max(state.screenHeight, 0)),
          seed);
}

bool HeadlessGame::tick() {
    if (!frontEnd.timerRunning || frontEnd.loopEnded) {
        return false;
    }
    ++timerFirings;
    onTimer(state, frontEnd);
    pump();
    return true;
}

int HeadlessGame::ticks(int n) {
    int fired = 0;
    for (int i = 0; i < n && tick(); ++i) {
        ++fired;
    }
    return fired;
}

void HeadlessGame::leftClick(int32_t x, int32_t y) {
    if (frontEnd.loopEnded) {
        return;
    }
    frontEnd.cursor = {x, y};
    onLeftButtonDown(state, frontEnd);
    pump();
}

void HeadlessGame::rightClick() {
    if (frontEnd.loopEnded) {
        return;
    }
    onRightButtonDown(state, frontEnd);
    pump();
}

void HeadlessGame::close() {
    if (frontEnd.loopEnded) {
        return;
    }
    onDestroy(state, frontEnd);
}

void HeadlessGame::pump() {
    if (frontEnd.loopEnded || !frontEnd.window.hasWaitingRegion()) {
        return;
    }
    ++paints;
    onPaint(state, frontEnd.window);
}

}  // namespace mole
