#include "shell/mission.h"

#include "game/damage_stats.h"
#include "picture/field_painter.h"

namespace mole {

namespace {

// Shows a dialog whose text is already in the buffer or given, with its own caption,
// buttons and leading sound. The caller checks state.ended before going on: the window may
// have been destroyed while the box was open.
DialogAnswer show(MissionHost& host, DialogName name, std::string_view text) {
    const DialogSpec& dialog = dialogSpec(name);
    if (dialog.sound != DialogSound::None) {
        host.playSound(static_cast<int>(dialog.sound));
    }
    return host.ask(text, dialog.caption, dialog.buttons, dialog.topmost);
}

DialogAnswer showComposed(ShellState& state, MissionHost& host, DialogName name,
                          const DialogValues& values = {}) {
    composeDialog(name, values, state.texts);
    return show(host, name, state.texts.text.view());
}

DialogValues tallyValues(const ShellState& state) {
    DialogValues v;
    v.escapeCount = state.tally.escapeCount;
    v.swingCount = state.tally.swingCount;
    v.hitCount = state.tally.hitCount;
    v.missScore = state.tally.escapeCount + state.tally.whiffs();
    return v;
}

void detailedReport(ShellState& state, MissionHost& host) {
    DialogTexts& texts = state.texts;
    const MissionTally& tally = state.tally;
    beginDetailedReport(texts, tally.escapeCount);
    const PercentHundredths rate = hitRate(tally.swingCount);
    appendHitRateLine(texts, rate);
    // The pass over every pixel; the question before warned that it might take a while.
    const Surfaces& s = state.surfaces;
    const DamageStats stats =
        computeDamageStats(s.pristine, s.field, s.scars, state.screenWidth, state.screenHeight);
    appendRateLines(texts, stats);
    appendScoreLines(
        texts, computeScore(tally.escapeCount, wholePercent(rate), wholePercent(stats.defence),
                            wholePercent(stats.recovery)));
    show(host, DialogName::DetailedReport, texts.text.view());
}

}  // namespace

void runIntro(ShellState& state, MissionHost& host) {
    if (state.ended) {
        return;
    }
    host.stopTick();
    state.mode = GameMode::Halted;
    const DialogAnswer answer = showComposed(state, host, DialogName::IntroDialog);
    if (state.ended) {
        return;
    }
    if (answer == DialogAnswer::Yes) {
        showComposed(state, host, DialogName::BriefingDialog);
        if (state.ended) {
            return;
        }
        host.presentField();
        host.startTick();
        state.mode = GameMode::Playing;
    } else {
        showComposed(state, host, DialogName::DeclineDialog);
        if (state.ended) {
            return;
        }
        host.quit();
    }
}

void runNuke(ShellState& state, MissionHost& host) {
    if (state.ended) {
        return;
    }
    state.mode = GameMode::Halted;
    host.stopTick();
    const DialogAnswer answer = showComposed(state, host, DialogName::NukeQuestion);
    if (state.ended) {
        return;
    }
    if (answer == DialogAnswer::Yes) {
        showComposed(state, host, DialogName::NukeEnding);
        if (state.ended) {
            return;
        }
        host.quit();
    } else {
        host.startTick();
        state.mode = GameMode::Playing;
        host.presentField();
    }
}

void runClosing(ShellState& state, MissionHost& host) {
    if (state.ended) {
        return;
    }
    // Struck moles not yet healed, the last one included, have their ground back at once.
    SurfacePainter painter(state.surfaces);
    for (const MoleSlot& slot : state.moles.moleTable) {
        if (slot.phase <= kHealPhase) {
            painter.healHole(slot);
        }
    }
    syncViewWithField(state.surfaces);
    state.mode = GameMode::Halted;
    host.stopTick();

    const DialogValues values = tallyValues(state);
    showComposed(state, host, DialogName::LeaderDialog, values);
    if (state.ended) {
        return;
    }
    // While the next box is open the whole window repaints from the view: the moles vanish.
    host.invalidateAll();
    const DialogAnswer detailed = showComposed(state, host, DialogName::AnalysisQuestion);
    if (state.ended) {
        return;
    }
    if (detailed == DialogAnswer::Yes) {
        detailedReport(state, host);
    } else {
        showComposed(state, host, DialogName::SimpleReport, values);
    }
    if (state.ended) {
        return;
    }
    showComposed(state, host, DialogName::FinalDialog);
    if (state.ended) {
        return;
    }
    host.quit();
}

}  // namespace mole
