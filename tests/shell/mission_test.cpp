// Whole runs of the program through the headless front end: seeded, with scripted answers,
// checking the dialogs, sounds, timer and what the window shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/damage_stats.h"
#include "picture/field_painter.h"
#include "shell/headless/headless.h"
#include "shell/messages.h"

namespace mole {
namespace {

constexpr int32_t kW = 640;
constexpr int32_t kH = 480;
constexpr uint32_t kSeed = 77;

// A snapshot no sprite pixel can be mistaken for: a fine two-colour check with a gradient.
Surface testSnapshot(int32_t w = kW, int32_t h = kH) {
    Surface s(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            s.at(x, y) = rgb(x & 0xFF, y & 0xFF, ((x ^ y) & 1) ? 0x40 : 0xC0);
        }
    }
    return s;
}

using Kind = HostEvent::Kind;

std::vector<HostEvent> eventsFrom(const HeadlessGame& g, size_t from) {
    return {g.frontEnd.events.begin() + static_cast<std::ptrdiff_t>(from), g.frontEnd.events.end()};
}

std::string composed(DialogName name, const DialogValues& v = {}) {
    DialogTexts t;
    composeDialog(name, v, t);
    return std::string(t.text.view());
}

bool sameSurface(const Surface& a, const Surface& b) {
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

// Strikes one mole that is above ground, aiming at the middle of its hit box.
bool strikeSomeMole(HeadlessGame& g) {
    for (const MoleSlot& m : g.state.moles.moleTable) {
        if (m.phase > 10) {
            g.leftClick(m.x + 39, m.y);
            return true;
        }
    }
    return false;
}

void playToHundredHits(HeadlessGame& g) {
    for (int t = 0; t < 100000 && g.running() && g.state.tally.hitCount < 100; ++t) {
        g.tick();
        if (t % 3 == 0) {
            strikeSomeMole(g);
        } else if (t % 7 == 0) {
            g.leftClick(-5, 99999);  // a whiff, far outside the screen
        }
    }
}

TEST(MissionRun, DeclineShowsNoHoleAndEnds) {
    HeadlessGame g(kW, kH);
    g.frontEnd.answers = {ScriptedAnswer::No};
    const Surface snapshot = testSnapshot();
    g.start(snapshot, kSeed);
    EXPECT_EQ(g.frontEnd.events, (std::vector<HostEvent>{{Kind::Invalidate}, {Kind::StartTick}}));
    EXPECT_EQ(g.state.mode, GameMode::AwaitingIntro);
    // The first paint shows the bare snapshot, although the starting holes are dug already.
    EXPECT_TRUE(sameSurface(g.frontEnd.window.shown, snapshot));
    EXPECT_FALSE(sameSurface(g.state.surfaces.field, snapshot));

    const size_t mark = g.frontEnd.events.size();
    EXPECT_TRUE(g.tick());  // one tick after start: the emergency call
    EXPECT_EQ(eventsFrom(g, mark), (std::vector<HostEvent>{{Kind::StopTick},
                                                           {Kind::Sound, 105},
                                                           {Kind::Dialog, 0},
                                                           {Kind::Dialog, 1},
                                                           {Kind::EndLoop}}));
    ASSERT_EQ(g.frontEnd.dialogs.size(), 2u);
    const DialogRecord& intro = g.frontEnd.dialogs[0];
    EXPECT_EQ(intro.caption, "緊急事態発生");
    EXPECT_EQ(intro.buttons, DialogButtons::YesNo);
    EXPECT_TRUE(intro.topmost);
    EXPECT_EQ(intro.text, composed(DialogName::IntroDialog));
    EXPECT_EQ(g.frontEnd.dialogs[1].caption, "戦術的撤退");
    EXPECT_EQ(g.frontEnd.dialogs[1].buttons, DialogButtons::Ok);
    EXPECT_EQ(g.frontEnd.dialogs[1].text, composed(DialogName::DeclineDialog));
    EXPECT_FALSE(g.running());
    EXPECT_TRUE(sameSurface(g.frontEnd.window.shown, snapshot));
    EXPECT_TRUE(g.state.surfaces.field.pixels.empty());  // released
    EXPECT_FALSE(g.tick());
}

TEST(MissionRun, AcceptThenTheGroundAndTheMolesReachTheWindow) {
    HeadlessGame g(kW, kH);
    const Surface snapshot = testSnapshot();
    g.start(snapshot, kSeed);
    const size_t mark = g.frontEnd.events.size();
    g.tick();
    EXPECT_EQ(eventsFrom(g, mark), (std::vector<HostEvent>{{Kind::StopTick},
                                                           {Kind::Sound, 105},
                                                           {Kind::Dialog, 0},
                                                           {Kind::Sound, 106},
                                                           {Kind::Dialog, 1},
                                                           {Kind::PresentField},
                                                           {Kind::StartTick}}));
    EXPECT_EQ(g.frontEnd.dialogs[1].caption, "ブリーフィング");
    EXPECT_EQ(g.frontEnd.dialogs[1].text, composed(DialogName::BriefingDialog));
    EXPECT_EQ(g.state.mode, GameMode::Playing);

    // Where the briefing was, the ground with its holes; elsewhere still the snapshot.
    const Rect area = g.frontEnd.dialogArea;
    const Surface& shown = g.frontEnd.window.shown;
    int differing = 0;
    for (int32_t y = 0; y < kH; ++y) {
        for (int32_t x = 0; x < kW; ++x) {
            const bool inside =
                x >= area.x && x < area.x + area.width && y >= area.y && y < area.y + area.height;
            const Pixel expected = inside ? g.state.surfaces.field.at(x, y) : snapshot.at(x, y);
            differing += shown.at(x, y) != expected;
        }
    }
    EXPECT_EQ(differing, 0);

    // From now on every tick brings every mole's cell of the view to the window.
    for (int t = 0; t < 60; ++t) {
        ASSERT_TRUE(g.tick());
        for (const MoleSlot& m : g.state.moles.moleTable) {
            for (int32_t y = m.y; y < m.y + kCellSize; ++y) {
                for (int32_t x = m.x; x < m.x + kCellSize; ++x) {
                    ASSERT_EQ(shown.at(x, y), g.state.surfaces.view.at(x, y));
                }
            }
        }
    }
    EXPECT_FALSE(sameSurface(shown, snapshot));
}

TEST(MissionRun, NukeRefusedResumesExactlyWhereItStopped) {
    HeadlessGame g(kW, kH);
    HeadlessGame twin(kW, kH);
    g.start(testSnapshot(), kSeed);
    twin.start(testSnapshot(), kSeed);
    g.ticks(40);
    twin.ticks(40);
    strikeSomeMole(g);
    strikeSomeMole(twin);

    g.frontEnd.answers = {ScriptedAnswer::No};
    const size_t mark = g.frontEnd.events.size();
    g.rightClick();
    EXPECT_EQ(eventsFrom(g, mark),
              (std::vector<HostEvent>{
                  {Kind::StopTick}, {Kind::Dialog, 2}, {Kind::StartTick}, {Kind::PresentField}}));
    EXPECT_EQ(g.frontEnd.dialogs[2].caption, "禁断の選択");
    EXPECT_EQ(g.frontEnd.dialogs[2].text, "核を使いますか？");
    EXPECT_EQ(g.state.mode, GameMode::Playing);

    g.ticks(100);
    twin.ticks(100);
    for (int k = 0; k < kMoleCount; ++k) {
        const MoleSlot& a = g.state.moles.moleTable[k];
        const MoleSlot& b = twin.state.moles.moleTable[k];
        EXPECT_EQ(std::tie(a.x, a.y, a.phase, a.direction),
                  std::tie(b.x, b.y, b.phase, b.direction));
    }
    EXPECT_EQ(g.state.tally.swingCount, twin.state.tally.swingCount);
    EXPECT_EQ(g.state.tally.hitCount, twin.state.tally.hitCount);
    EXPECT_EQ(g.state.tally.escapeCount, twin.state.tally.escapeCount);
    EXPECT_TRUE(sameSurface(g.state.surfaces.field, twin.state.surfaces.field));
}

TEST(MissionRun, NukeAcceptedEnds) {
    HeadlessGame g(kW, kH);
    g.start(testSnapshot(), kSeed);
    g.ticks(10);
    g.frontEnd.answers = {ScriptedAnswer::Yes};
    const size_t mark = g.frontEnd.events.size();
    g.rightClick();
    EXPECT_EQ(eventsFrom(g, mark),
              (std::vector<HostEvent>{
                  {Kind::StopTick}, {Kind::Dialog, 2}, {Kind::Dialog, 3}, {Kind::EndLoop}}));
    EXPECT_EQ(g.frontEnd.dialogs[3].caption, "悲劇的結末");
    EXPECT_EQ(g.frontEnd.dialogs[3].text, "ちゅどーーーーーーーーん！！！！！");
    EXPECT_FALSE(g.running());
}

TEST(MissionRun, RightClickBeforeTheIntroAnsweredNoStartsPlayAtOnce) {
    HeadlessGame g(kW, kH);
    g.start(testSnapshot(), kSeed);
    g.frontEnd.answers = {ScriptedAnswer::No};
    g.rightClick();
    EXPECT_EQ(g.state.mode, GameMode::Playing);
    MoleField expected = g.state.moles;
    MissionTally tally = g.state.tally;
    NullFieldPainter none;
    tickField(expected, tally, none);
    g.tick();
    ASSERT_EQ(g.frontEnd.dialogs.size(), 1u);  // the nuke question only, never the intro
    for (int k = 0; k < kMoleCount; ++k) {
        const MoleSlot& a = g.state.moles.moleTable[k];
        const MoleSlot& b = expected.moleTable[k];
        EXPECT_EQ(std::tie(a.x, a.y, a.phase, a.direction),
                  std::tie(b.x, b.y, b.phase, b.direction));
    }
}

struct ClosingCase {
    const char* name;
    bool detailed;
};

class WholeMission : public testing::TestWithParam<ClosingCase> {};

TEST_P(WholeMission, HundredthHitHealsReportsAndEnds) {
    const bool detailed = GetParam().detailed;
    HeadlessGame g(kW, kH);
    g.frontEnd.answers = {ScriptedAnswer::Yes, ScriptedAnswer::Ok, ScriptedAnswer::Ok,
                          detailed ? ScriptedAnswer::Yes : ScriptedAnswer::No};
    std::string expectedReport;
    bool viewWasGround = false;
    bool windowWasGround = false;
    g.frontEnd.onDialogShown = [&](const DialogRecord& d) {
        const ShellState& s = g.state;
        if (d.caption == "もぐらのリーダー") {
            // The last struck mole never shows frame 15: its hole is healed in field and view.
            viewWasGround = sameSurface(s.surfaces.view, s.surfaces.field);
        }
        if (d.caption == "お疲れさまです。") {
            windowWasGround = sameSurface(g.frontEnd.window.shown, s.surfaces.field);
        }
        if (d.caption == "結果報告") {
            // Count the surfaces independently of the statistics code.
            int64_t intact = 0;
            int64_t scarred = 0;
            for (size_t i = 0; i < s.surfaces.pristine.pixels.size(); ++i) {
                intact += s.surfaces.pristine.pixels[i] == s.surfaces.field.pixels[i];
                scarred += s.surfaces.pristine.pixels[i] != s.surfaces.scars.pixels[i];
            }
            const int64_t tenth = int64_t{kW} * kH / 10;
            DialogValues v;
            v.escapeCount = s.tally.escapeCount;
            v.swingCount = s.tally.swingCount;
            v.hitCount = s.tally.hitCount;
            v.hitRate = 1000000 / s.tally.swingCount;
            v.stats.defence = static_cast<int32_t>(intact * 1000 / tenth);
            v.stats.devastation = static_cast<int32_t>(scarred * 1000 / tenth);
            v.stats.recovery = v.stats.devastation + v.stats.defence - 10000;
            v.score = computeScore(v.escapeCount, v.hitRate / 100, v.stats.defence / 100,
                                   v.stats.recovery / 100);
            expectedReport =
                composed(detailed ? DialogName::DetailedReport : DialogName::SimpleReport, v);
        }
    };
    g.start(testSnapshot(), kSeed);
    playToHundredHits(g);

    ASSERT_FALSE(g.running());
    EXPECT_EQ(g.state.tally.hitCount, 100);
    const auto& dialogs = g.frontEnd.dialogs;
    ASSERT_EQ(dialogs.size(), 6u);
    EXPECT_EQ(dialogs[2].caption, "もぐらのリーダー");
    DialogValues leader;
    leader.missScore = g.state.tally.escapeCount + g.state.tally.whiffs();
    EXPECT_EQ(dialogs[2].text, composed(DialogName::LeaderDialog, leader));
    EXPECT_EQ(dialogs[3].caption, "お疲れさまです。");
    EXPECT_EQ(dialogs[3].buttons, DialogButtons::YesNo);
    EXPECT_EQ(dialogs[4].caption, "結果報告");
    EXPECT_EQ(dialogs[4].text, expectedReport);
    EXPECT_EQ(dialogs[5].caption, "任務完了！");
    EXPECT_EQ(dialogs[5].text, "以上で終了です。");
    EXPECT_TRUE(viewWasGround);
    EXPECT_TRUE(windowWasGround);
    // The closing ran inside the hundredth click: no tick came after it.
    const auto& ev = g.frontEnd.events;
    ASSERT_FALSE(ev.empty());
    EXPECT_EQ(ev.back().kind, Kind::EndLoop);
    EXPECT_TRUE(g.state.surfaces.view.pixels.empty());
}

INSTANTIATE_TEST_SUITE_P(Reports, WholeMission,
                         testing::Values(ClosingCase{"detailed", true},
                                         ClosingCase{"simple", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// The window destroyed while a box is open: the script must do nothing more, and every
// way out releases the surfaces and ends the loop exactly once.
struct CloseCase {
    const char* name;
    std::vector<ScriptedAnswer> answers;  // the last one is Close
    enum Path { Intro, Nuke, Closing } path;
    size_t dialogsShown;
};

class CloseDuringDialog : public testing::TestWithParam<CloseCase> {};

TEST_P(CloseDuringDialog, NothingHappensAfterTheWindowIsGone) {
    using A = ScriptedAnswer;
    const CloseCase& c = GetParam();
    HeadlessGame g(kW, kH);
    g.start(testSnapshot(), kSeed);
    if (c.path == CloseCase::Intro) {
        g.frontEnd.answers.assign(c.answers.begin(), c.answers.end());
        g.tick();
    } else {
        g.frontEnd.answers = {A::Yes, A::Ok};
        g.tick();
        g.frontEnd.answers.assign(c.answers.begin(), c.answers.end());
        if (c.path == CloseCase::Nuke) {
            g.ticks(5);
            g.rightClick();
        } else {
            playToHundredHits(g);
        }
    }
    EXPECT_FALSE(g.running());
    const size_t base = c.path == CloseCase::Intro ? 0 : 2;
    EXPECT_EQ(g.frontEnd.dialogs.size(), base + c.dialogsShown);
    int endLoops = 0;
    for (const HostEvent& e : g.frontEnd.events) {
        endLoops += e.kind == Kind::EndLoop;
    }
    EXPECT_EQ(endLoops, 1);
    EXPECT_EQ(g.frontEnd.events.back().kind, Kind::EndLoop);
    EXPECT_TRUE(g.state.ended);
    EXPECT_TRUE(g.state.surfaces.field.pixels.empty());
    EXPECT_TRUE(g.state.surfaces.pristine.pixels.empty());
    // Further events are ignored.
    g.leftClick(10, 10);
    g.rightClick();
    g.close();
    EXPECT_EQ(g.frontEnd.events.back().kind, Kind::EndLoop);
}

using A = ScriptedAnswer;
INSTANTIATE_TEST_SUITE_P(
    EveryDialog, CloseDuringDialog,
    testing::Values(CloseCase{"intro", {A::Close}, CloseCase::Intro, 1},
                    CloseCase{"briefing", {A::Yes, A::Close}, CloseCase::Intro, 2},
                    CloseCase{"decline", {A::No, A::Close}, CloseCase::Intro, 2},
                    CloseCase{"nukeQuestion", {A::Close}, CloseCase::Nuke, 1},
                    CloseCase{"nukeEnding", {A::Yes, A::Close}, CloseCase::Nuke, 2},
                    CloseCase{"leader", {A::Close}, CloseCase::Closing, 1},
                    CloseCase{"analysis", {A::Ok, A::Close}, CloseCase::Closing, 2},
                    CloseCase{"detailed", {A::Ok, A::Yes, A::Close}, CloseCase::Closing, 3},
                    CloseCase{"simple", {A::Ok, A::No, A::Close}, CloseCase::Closing, 3},
                    CloseCase{"final", {A::Ok, A::Yes, A::Ok, A::Close}, CloseCase::Closing, 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MissionRun, CloseRequestDuringPlayEndsWithoutADialog) {
    HeadlessGame g(kW, kH);
    g.start(testSnapshot(), kSeed);
    g.ticks(30);
    const size_t dialogs = g.frontEnd.dialogs.size();
    g.close();
    EXPECT_FALSE(g.running());
    EXPECT_EQ(g.frontEnd.dialogs.size(), dialogs);
    EXPECT_EQ(g.frontEnd.events.back().kind, Kind::EndLoop);
    EXPECT_TRUE(g.state.surfaces.view.pixels.empty());
}

TEST(MissionRun, OddScreensRunWithoutFault) {
    for (auto [w, h] : {std::pair{1, 1}, {64, 64}, {65, 65}, {64, 1000}, {3, 2000}, {200, 100}}) {
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        HeadlessGame g(w, h);
        g.start(testSnapshot(w, h), kSeed);
        g.ticks(200);
        for (int i = 0; i < 50; ++i) {
            g.leftClick(i * 37 - 500, i * 53 - 900);
            g.tick();
        }
        g.frontEnd.answers = {ScriptedAnswer::No};
        g.rightClick();
        g.ticks(20);
        g.close();
        EXPECT_FALSE(g.running());
    }
}

}  // namespace
}  // namespace mole
