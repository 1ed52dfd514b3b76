#include "shell/messages.h"

#include <cstdarg>
#include <cstdio>
#include <span>

#include "game/constants.h"

namespace mole {

namespace {

// In the order of DialogName.
constexpr DialogSpec kDialogSpecs[kDialogCount] = {
    {"緊急事態発生", DialogButtons::YesNo, true, DialogSound::Swing},      // IntroDialog
    {"ブリーフィング", DialogButtons::Ok, false, DialogSound::Hit},        // BriefingDialog
    {"戦術的撤退", DialogButtons::Ok, false, DialogSound::None},           // DeclineDialog
    {"禁断の選択", DialogButtons::YesNo, false, DialogSound::None},        // NukeQuestion
    {"悲劇的結末", DialogButtons::Ok, false, DialogSound::None},           // NukeEnding
    {"もぐらのリーダー", DialogButtons::Ok, false, DialogSound::None},     // LeaderDialog
    {"お疲れさまです。", DialogButtons::YesNo, false, DialogSound::None},  // AnalysisQuestion
    {"結果報告", DialogButtons::Ok, false, DialogSound::None},             // DetailedReport
    {"結果報告", DialogButtons::Ok, false, DialogSound::None},             // SimpleReport
    {"任務完了！", DialogButtons::Ok, false, DialogSound::None},           // FinalDialog
};

// Each text is its lines joined with nothing between them; a line's own line feeds lead it.
constexpr std::string_view kIntroLines[] = {
    "再び、残念なことをお伝えしなければなりません。",
    "\n一度はデスクトップから撃退された’奴ら’ですが",
    "\nどうやら前回の予告通り、まだ諦めていない様子。",
    "\n調査員の報告によると、なんでも",
    "\n「ヌルボッゾ」と叫びまくっている模様です。",
    "\n\nあなた自ら、出動しますか？",
};
constexpr std::string_view kBriefingLines[] = {
    "御馴染みの武器を用意しましたので",
    "\n左クリックで存分に応戦してください。",
    "\n\n尚、今回より、攻撃命中地点をクリアーにする",
    "\n自動回復システムを採用しています。",
    "\n荒廃した場所での使用が特に有効ですので",
    "\nなるべく広範囲に渡って攻撃するのが",
    "\n良いかと存じます。",
    "\n\nまた、時間に余裕がなくなってくれば",
    "\nお勧めはしませんが、ブラックケースを",
    "\n例によって右クリックで・・・",
    "\n\n以上\n\n任務遂行せよ！",
};
constexpr std::string_view kDeclineLines[] = {
    "こちらで何とか対処します。",
    "\nが、彼ら何か寂しそうですね・・・・",
};
constexpr std::string_view kNukeQuestionText = "核を使いますか？";
constexpr std::string_view kNukeEndingText = "ちゅどーーーーーーーーん！！！！！";
constexpr std::string_view kFinalText = "以上で終了です。";
constexpr std::string_view kAnalysisLines[] = {
    "モグラの一行はそうして撤退していきましたが・・・",
    "\nその内必ずや、戻って来るかどうかは・・・",
    "\nあなた次第です・・・よね？",
    "\n\nさて、これから戦績データを分析します。",
    "\n下記の★「はい」★を押すと詳細データを表示します。",
    "\nお使いのPCによっては多少時間がかかりますが",
    "\nバグではありませんので、安心してお待ち下さい。",
    "\n詳細データ演算処理にストレスを感じるのであれば",
    "\n★「いいえ」★を押すと簡単なデータを即時に表示します。",
};

struct LeaderWords {
    std::string_view first;
    std::string_view second;
};

// The fewer the misses, the more the leader stammers.
constexpr LeaderWords kLeaderWords[] = {
    // m > 699
    {"やれやれ、今回はこのへんにしておいてやろう。", "\n野郎ども、引き上げるぞ。"},
    // m > 499
    {"ふん、今回はこのへんにしておいてやろう。", "\n野郎ども、引き上げるぞ。"},
    // m > 299
    {"今回はこのへんにしておいてやろう。", "\n野郎ども、引き上げるぞ。"},
    // m > 199
    {"こ、今回はこのへんにしておいてやろう。", "\nや、野郎ども、ひ、引き上げるぞ。"},
    // otherwise
    {"こ、こ、今回はこのへんにしておいてやろう。",
     "\nや、や、野郎ども、ひ、ひ、ひ、引き上げるぞ。"},
};

// Rates are printed with their sign apart (see splitPercent), hence %s before the whole part.
constexpr std::string_view kDetailedFirstLine = "おまたせしました";
constexpr char kHitRateLine[] = "\n\n攻撃命中率  %s%d.%02d %%";
constexpr char kDevastationLine[] = "\n\nデスクトップ総合荒廃率　%s%d.%02d %%　";
constexpr char kRecoveryLine[] = "\n\nリカヴァリー率　%s%d.%02d %%　";
constexpr char kDefenceLine[] = "\n\nデスクトップ防衛率　%s%d.%02d %%　";
constexpr std::string_view kScoreLeadLines[] = {"\n\nPCの環境によって違いはありますが",
                                                "\nこの環境での点数をあえて表すと"};
constexpr std::string_view kSimpleFirstLine = "簡単に報告します";
constexpr char kWhiffsLine[] = "\n\n空振りは %d 回でした。";
constexpr std::string_view kEscapesAtCapLine = "\n\nさて、あなたがモグラを逃した数  百万以上 (^^;";
constexpr char kEscapesLine[] = "\n\nあなたがモグラを逃した数 %d ";
constexpr char kScoreLine[] = "\n\n              %d 点です　";
constexpr std::string_view kNoScoreLine = "\n\n残念ながら点数には出来ません";

const LeaderWords& leaderWords(int32_t missScore) {
    if (missScore > 699) {
        return kLeaderWords[0];
    }
    if (missScore > 499) {
        return kLeaderWords[1];
    }
    if (missScore > 299) {
        return kLeaderWords[2];
    }
    if (missScore > 199) {
        return kLeaderWords[3];
    }
    return kLeaderWords[4];
}

void composeLines(DialogTexts& texts, std::span<const std::string_view> lines) {
    beginText(texts, lines.front());
    for (const std::string_view line : lines.subspan(1)) {
        appendLine(texts, line);
    }
}

void appendRate(DialogTexts& texts, const char* format, PercentHundredths rate) {
    const PercentParts parts = splitPercent(rate);
    appendFormatted(texts, format, parts.negative ? "-" : "", parts.whole, parts.fraction);
}

}  // namespace

std::size_t completeUtf8Prefix(std::string_view s) {
    // Find where the last character starts, then keep it only if all its bytes are there.
    std::size_t start = s.size();
    while (start > 0 && s.size() - start < 4 &&
           (static_cast<unsigned char>(s[start - 1]) & 0xC0u) == 0x80u) {
        --start;
    }
    if (start == 0) {
        return 0;
    }
    const unsigned char lead = static_cast<unsigned char>(s[start - 1]);
    const std::size_t length = lead < 0x80u ? 1 : lead >= 0xF0u ? 4 : lead >= 0xE0u ? 3 : 2;
    const std::size_t have = s.size() - (start - 1);
    return have >= length ? s.size() : start - 1;
}

const DialogSpec& dialogSpec(DialogName name) {
    return kDialogSpecs[static_cast<int>(name)];
}

void beginText(DialogTexts& texts, std::string_view firstLine) {
    texts.text.assign(firstLine);
}

void appendLine(DialogTexts& texts, std::string_view line) {
    texts.text.append(line);
}

void appendFormatted(DialogTexts& texts, const char* format, ...) {
    // vsnprintf bounds the line to the size of the format buffer.
    char line[FormatBuffer::kCapacity];
    std::va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (written < 0) {
        texts.format.clear();
        return;
    }
    const std::size_t wanted = static_cast<std::size_t>(written);
    if (wanted < sizeof line) {
        texts.format.assign(std::string_view(line, wanted));
    } else {
        // vsnprintf kept only the first bytes, perhaps ending inside a character; the text
        // ends with what fitted.
        texts.format.assign(std::string_view(line, completeUtf8Prefix(line)));
        texts.format.seal();
        texts.text.append(texts.format.view());
        texts.text.seal();
        return;
    }
    texts.text.append(texts.format.view());
}

void appendEscapesLine(DialogTexts& texts, int32_t escapeCount) {
    if (escapeCount >= kEscapeCap) {
        appendLine(texts, kEscapesAtCapLine);
    } else {
        appendFormatted(texts, kEscapesLine, escapeCount);
    }
}

void beginDetailedReport(DialogTexts& texts, int32_t escapeCount) {
    beginText(texts, kDetailedFirstLine);
    appendEscapesLine(texts, escapeCount);
}

void appendHitRateLine(DialogTexts& texts, PercentHundredths hitRate) {
    appendRate(texts, kHitRateLine, hitRate);
}

void appendRateLines(DialogTexts& texts, const DamageStats& stats) {
    appendRate(texts, kDevastationLine, stats.devastation);
    appendRate(texts, kRecoveryLine, stats.recovery);
    appendRate(texts, kDefenceLine, stats.defence);
}

void appendScoreLines(DialogTexts& texts, std::optional<int32_t> score) {
    for (const std::string_view line : kScoreLeadLines) {
        appendLine(texts, line);
    }
    if (score) {
        appendFormatted(texts, kScoreLine, *score);
    } else {
        appendLine(texts, kNoScoreLine);
    }
}

void composeDialog(DialogName name, const DialogValues& values, DialogTexts& texts) {
    switch (name) {
        case DialogName::IntroDialog:
            composeLines(texts, kIntroLines);
            return;
        case DialogName::BriefingDialog:
            composeLines(texts, kBriefingLines);
            return;
        case DialogName::DeclineDialog:
            composeLines(texts, kDeclineLines);
            return;
        case DialogName::NukeQuestion:
            beginText(texts, kNukeQuestionText);
            return;
        case DialogName::NukeEnding:
            beginText(texts, kNukeEndingText);
            return;
        case DialogName::LeaderDialog: {
            const LeaderWords& words = leaderWords(values.missScore);
            beginText(texts, words.first);
            appendLine(texts, words.second);
            return;
        }
        case DialogName::AnalysisQuestion:
            composeLines(texts, kAnalysisLines);
            return;
        case DialogName::DetailedReport:
            beginDetailedReport(texts, values.escapeCount);
            appendHitRateLine(texts, values.hitRate);
            appendRateLines(texts, values.stats);
            appendScoreLines(texts, values.score);
            return;
        case DialogName::SimpleReport:
            beginText(texts, kSimpleFirstLine);
            appendEscapesLine(texts, values.escapeCount);
            appendFormatted(texts, kWhiffsLine, values.swingCount - values.hitCount);
            return;
        case DialogName::FinalDialog:
            beginText(texts, kFinalText);
            return;
    }
    texts.text.clear();
}

}  // namespace mole
