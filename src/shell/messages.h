// Every text the program shows: the ten dialogs, their captions, buttons and sounds, and the
// composition of the texts of several lines into one buffer. Texts are UTF-8; a front end
// whose platform wants another encoding converts when it shows them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "game/damage_stats.h"

namespace mole {

enum class DialogName {
    IntroDialog,
    BriefingDialog,
    DeclineDialog,
    NukeQuestion,
    NukeEnding,
    LeaderDialog,
    AnalysisQuestion,
    DetailedReport,
    SimpleReport,
    FinalDialog,
};
inline constexpr int kDialogCount = 10;

enum class DialogButtons { Ok, YesNo };

// The sound started just before a dialog; the values are the sound resource ids.
enum class DialogSound { None = 0, Swing = 105, Hit = 106 };

struct DialogSpec {
    std::string_view caption;
    DialogButtons buttons;
    bool topmost;
    DialogSound sound;
};

const DialogSpec& dialogSpec(DialogName name);

// A fixed buffer that a text is composed in. It always holds a NUL-terminated prefix of what
// was put in: an append that does not fit is cut at a UTF-8 character boundary, and once a
// text has been cut nothing more is added, so no later line can land after a gap.
template <std::size_t Capacity>
class BoundedText {
  public:
    static_assert(Capacity > 0);
    static constexpr std::size_t kCapacity = Capacity;  // bytes, the terminating NUL included

    void clear() {
        length_ = 0;
        truncated_ = false;
        bytes_[0] = '\0';
    }
    void assign(std::string_view s) {
        clear();
        append(s);
    }
    // Returns false when the text was cut (now or before).
    bool append(std::string_view s) {
        if (truncated_) {
            return false;
        }
        const std::size_t room = Capacity - 1 - length_;
        std::size_t n = s.size();
        if (n > room) {
            n = room;
            // Step back over continuation bytes so that no character is split.
            while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0u) == 0x80u) {
                --n;
            }
            truncated_ = true;
        }
        for (std::size_t i = 0; i < n; ++i) {
            bytes_[length_ + i] = s[i];
        }
        length_ += n;
        bytes_[length_] = '\0';
        return !truncated_;
    }

    // Ends the text where it stands: later appends are dropped, as after a cut.
    void seal() { truncated_ = true; }

    std::string_view view() const { return std::string_view(bytes_.data(), length_); }
    const char* c_str() const { return bytes_.data(); }
    std::size_t size() const { return length_; }
    bool truncated() const { return truncated_; }

  private:
    std::array<char, Capacity> bytes_{};
    std::size_t length_ = 0;
    bool truncated_ = false;
};

// The length of s without a character cut short at its end.
std::size_t completeUtf8Prefix(std::string_view s);

using TextBuffer = BoundedText<1024>;   // the text of the dialog being built
using FormatBuffer = BoundedText<256>;  // one line with numbers, before it is appended

struct DialogTexts {
    TextBuffer text;
    FormatBuffer format;
};

// What the numbers of the dialogs are made of.
struct DialogValues {
    int32_t escapeCount = 0;
    int32_t swingCount = 0;
    int32_t hitCount = 0;
    int32_t missScore = 0;  // escapes plus whiffs, picks the leader's words
    PercentHundredths hitRate = 0;
    DamageStats stats;
    std::optional<int32_t> score;
};

// Builds the whole text of a dialog into texts.text. The detailed report takes all its
// values at once here; a caller that must compute them between lines uses the blocks below.
void composeDialog(DialogName name, const DialogValues& values, DialogTexts& texts);

// Building blocks, in the order the lines are joined.
void beginText(DialogTexts& texts, std::string_view firstLine);
void appendLine(DialogTexts& texts, std::string_view line);
// Formats one line into texts.format, then appends it.
void appendFormatted(DialogTexts& texts, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
// "...逃した数 N " or, at the escape cap, the "百万以上" line.
void appendEscapesLine(DialogTexts& texts, int32_t escapeCount);

// The detailed report: lines 1 and 2; line 3; lines 4 to 6; lines 7 and 8 with the score
// line or the no-score line.
void beginDetailedReport(DialogTexts& texts, int32_t escapeCount);
void appendHitRateLine(DialogTexts& texts, PercentHundredths hitRate);
void appendRateLines(DialogTexts& texts, const DamageStats& stats);
void appendScoreLines(DialogTexts& texts, std::optional<int32_t> score);

}  // namespace mole
