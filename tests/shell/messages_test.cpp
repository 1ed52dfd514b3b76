#include "shell/messages.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <string_view>

namespace mole {
namespace {

std::string repeat(std::string_view s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) {
        out += s;
    }
    return out;
}

std::string compose(DialogName name, const DialogValues& values = {}) {
    DialogTexts texts;
    composeDialog(name, values, texts);
    EXPECT_FALSE(texts.text.truncated());
    return std::string(texts.text.view());
}

// The texts as they read in full, written out apart from the line tables of the catalogue.
// Marks that are easy to mistake are spelled as escapes: \u3000 ideographic space, \u2019
// right single quotation mark, \uff01 and \uff1f full-width ! and ?, \u2605 black star,
// \u300c \u300d corner brackets.
const char kIntro[] =
    "再び、残念なことをお伝えしなければなりません。\n一度はデスクトップから撃退された\u2019奴ら"
    "\u2019ですが\nどうやら前回の予告通り、まだ諦めていない様子。\n調査員の報告によると、なんでも"
    "\n\u300cヌルボッゾ\u300dと叫びまくっている模様です。\n\nあなた自ら、出動しますか\uff1f";
const char kBriefing[] =
    "御馴染みの武器を用意しましたので\n左クリックで存分に応戦してください。\n\n尚、今回より、"
    "攻撃命中地点をクリアーにする\n自動回復システムを採用しています。\n荒廃した場所での使用が特"
    "に有効ですので\nなるべく広範囲に渡って攻撃するのが\n良いかと存じます。\n\nまた、時間に余裕"
    "がなくなってくれば\nお勧めはしませんが、ブラックケースを\n例によって右クリックで・・・\n\n以"
    "上\n\n任務遂行せよ\uff01";
const char kDecline[] = "こちらで何とか対処します。\nが、彼ら何か寂しそうですね・・・・";
const char kAnalysis[] =
    "モグラの一行はそうして撤退していきましたが・・・\nその内必ずや、戻って来るかどうかは・・・"
    "\nあなた次第です・・・よね\uff1f\n\nさて、これから戦績データを分析します。\n下記の\u2605\u300c"
    "はい\u300d\u2605を押すと詳細データを表示します。\nお使いのPCによっては多少時間がかかりますが"
    "\nバグではありませんので、安心してお待ち下さい。\n詳細データ演算処理にストレスを感じるので"
    "あれば\n\u2605\u300cいいえ\u300d\u2605を押すと簡単なデータを即時に表示します。";

TEST(Messages, FixedTextsComposeExactly) {
    const std::string nukeEnding = "ちゅど" + repeat("ー", 8) + "ん" + repeat("\uff01", 5);
    const struct {
        DialogName name;
        std::string expected;
    } cases[] = {
        {DialogName::IntroDialog, kIntro},
        {DialogName::BriefingDialog, kBriefing},
        {DialogName::DeclineDialog, kDecline},
        {DialogName::NukeQuestion, "核を使いますか\uff1f"},
        {DialogName::NukeEnding, nukeEnding},
        {DialogName::AnalysisQuestion, kAnalysis},
        {DialogName::FinalDialog, "以上で終了です。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.name));
        EXPECT_EQ(compose(c.name), c.expected);
    }
}

TEST(Messages, CaptionsButtonsAndSounds) {
    const struct {
        DialogName name;
        std::string_view caption;
        DialogButtons buttons;
        bool topmost;
        DialogSound sound;
    } cases[] = {
        {DialogName::IntroDialog, "緊急事態発生", DialogButtons::YesNo, true, DialogSound::Swing},
        {DialogName::BriefingDialog, "ブリーフィング", DialogButtons::Ok, false, DialogSound::Hit},
        {DialogName::DeclineDialog, "戦術的撤退", DialogButtons::Ok, false, DialogSound::None},
        {DialogName::NukeQuestion, "禁断の選択", DialogButtons::YesNo, false, DialogSound::None},
        {DialogName::NukeEnding, "悲劇的結末", DialogButtons::Ok, false, DialogSound::None},
        {DialogName::LeaderDialog, "もぐらのリーダー", DialogButtons::Ok, false, DialogSound::None},
        {DialogName::AnalysisQuestion, "お疲れさまです。", DialogButtons::YesNo, false,
         DialogSound::None},
        {DialogName::DetailedReport, "結果報告", DialogButtons::Ok, false, DialogSound::None},
        {DialogName::SimpleReport, "結果報告", DialogButtons::Ok, false, DialogSound::None},
        {DialogName::FinalDialog, "任務完了\uff01", DialogButtons::Ok, false, DialogSound::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.name));
        const DialogSpec& dialog = dialogSpec(c.name);
        EXPECT_EQ(dialog.caption, c.caption);
        EXPECT_EQ(dialog.buttons, c.buttons);
        EXPECT_EQ(dialog.topmost, c.topmost);
        EXPECT_EQ(dialog.sound, c.sound);
    }
    EXPECT_EQ(static_cast<int>(DialogSound::Swing), 105);
    EXPECT_EQ(static_cast<int>(DialogSound::Hit), 106);
}

TEST(Messages, LeaderWordsAtEveryBoundary) {
    const std::string letOff = "今回はこのへんにしておいてやろう。";
    const std::string pullOut = "\n野郎ども、引き上げるぞ。";
    const std::string stammer =
        "こ、こ、" + letOff + "\nや、や、野郎ども、ひ、ひ、ひ、引き上げるぞ。";
    const std::string lighter = "こ、" + letOff + "\nや、野郎ども、ひ、引き上げるぞ。";
    const std::string plain = letOff + pullOut;
    const std::string snort = "ふん、" + letOff + pullOut;
    const std::string sigh = "やれやれ、" + letOff + pullOut;
    const struct {
        int32_t missScore;
        const std::string& expected;
    } cases[] = {
        {0, stammer}, {199, stammer}, {200, lighter}, {299, lighter}, {300, plain},
        {499, plain}, {500, snort},   {699, snort},   {700, sigh},    {2'000'000, sigh},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.missScore);
        DialogValues values;
        values.missScore = c.missScore;
        EXPECT_EQ(compose(DialogName::LeaderDialog, values), c.expected);
    }
}

const std::string kFourteenSpaces(14, ' ');

TEST(Messages, DetailedReportInFull) {
    DialogValues values;
    values.escapeCount = 37;
    values.swingCount = 150;
    values.hitCount = 100;
    values.hitRate = 6666;
    values.stats = DamageStats{9305, 1, -694};
    values.score = 608;
    EXPECT_EQ(compose(DialogName::DetailedReport, values),
              "おまたせしました"
              "\n\nあなたがモグラを逃した数 37 "
              "\n\n攻撃命中率  66.66 %"
              "\n\nデスクトップ総合荒廃率\u30000.01 %\u3000"
              "\n\nリカヴァリー率\u3000-6.94 %\u3000"
              "\n\nデスクトップ防衛率\u300093.05 %\u3000"
              "\n\nPCの環境によって違いはありますが"
              "\nこの環境での点数をあえて表すと"
              "\n\n" +
                  kFourteenSpaces + "608 点です\u3000");

    values.escapeCount = 1'000'000;
    values.score = std::nullopt;
    const std::string noScore = compose(DialogName::DetailedReport, values);
    EXPECT_TRUE(
        noScore.starts_with("おまたせしました\n\nさて、あなたがモグラを逃した数  百万以上 (^^;"
                            "\n\n攻撃命中率"));
    EXPECT_TRUE(noScore.ends_with("表すと\n\n残念ながら点数には出来ません"));
}

TEST(Messages, IncrementalDetailedReportMatchesTheWholeOne) {
    DialogValues values;
    values.escapeCount = 250;
    values.hitRate = 4000;
    values.stats = DamageStats{8000, 1950, -50};
    values.score = 237;

    DialogTexts texts;
    beginDetailedReport(texts, values.escapeCount);
    appendHitRateLine(texts, values.hitRate);
    appendRateLines(texts, values.stats);
    appendScoreLines(texts, values.score);
    EXPECT_EQ(texts.text.view(), compose(DialogName::DetailedReport, values));
}

TEST(Messages, RatesShowTwoFractionDigitsAndOneMinusSign) {
    const struct {
        PercentHundredths rate;
        std::string_view shown;
    } cases[] = {
        {6605, "66.05"}, {600, "6.00"},       {10000, "100.00"},
        {0, "0.00"},     {5, "0.05"},         {-50, "-0.50"},
        {-125, "-1.25"}, {-10000, "-100.00"}, {INT32_MIN, "-21474836.48"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        DialogTexts texts;
        beginText(texts, "");
        appendHitRateLine(texts, c.rate);
        EXPECT_EQ(texts.text.view(), "\n\n攻撃命中率  " + std::string(c.shown) + " %");

        beginText(texts, "");
        appendRateLines(texts, DamageStats{0, 0, c.rate});
        EXPECT_EQ(texts.text.view(),
                  "\n\nデスクトップ総合荒廃率\u30000.00 %\u3000\n\nリカヴァリー率\u3000" +
                      std::string(c.shown) + " %\u3000\n\nデスクトップ防衛率\u30000.00 %\u3000");
    }
}

TEST(Messages, EscapesLineAroundTheCapInBothReports) {
    const std::string below = "\n\nあなたがモグラを逃した数 999999 ";
    const std::string atCap = "\n\nさて、あなたがモグラを逃した数  百万以上 (^^;";
    for (const auto& [escapes, line] : {std::pair{999'999, below}, std::pair{1'000'000, atCap}}) {
        SCOPED_TRACE(escapes);
        DialogValues values;
        values.escapeCount = escapes;
        values.swingCount = 1'000'100;
        values.hitCount = 100;
        EXPECT_EQ(compose(DialogName::SimpleReport, values),
                  "簡単に報告します" + line + "\n\n空振りは 1000000 回でした。");
        EXPECT_TRUE(compose(DialogName::DetailedReport, values)
                        .starts_with("おまたせしました" + line + "\n\n攻撃命中率  "));
    }
}

TEST(Messages, ScoreLineAndNoScoreLine) {
    const struct {
        std::optional<int32_t> score;
        std::string line;
    } cases[] = {
        {0, "\n\n" + kFourteenSpaces + "0 点です\u3000"},
        {1120, "\n\n" + kFourteenSpaces + "1120 点です\u3000"},
        {std::nullopt, "\n\n残念ながら点数には出来ません"},
    };
    for (const auto& c : cases) {
        DialogTexts texts;
        beginText(texts, "");
        appendScoreLines(texts, c.score);
        EXPECT_EQ(texts.text.view(),
                  "\n\nPCの環境によって違いはありますが\nこの環境での点数をあえて表すと" + c.line);
    }
}

TEST(Messages, TextsFitTheirBuffers) {
    // The longest fixed text: 593 bytes in UTF-8, 399 in the two-byte encoding the texts were
    // written for (every character here other than ASCII takes two bytes there).
    const std::string analysis = compose(DialogName::AnalysisQuestion);
    EXPECT_EQ(analysis.size(), 593u);
    std::size_t twoByteSize = 0;
    for (const char c : analysis) {
        const unsigned char b = static_cast<unsigned char>(c);
        twoByteSize += b < 0x80 ? 1 : (b & 0xC0) == 0xC0 ? 2 : 0;
    }
    EXPECT_EQ(twoByteSize, 399u);

    // The widest numbers there are still leave room in both buffers.
    DialogValues values;
    values.escapeCount = INT32_MIN;
    values.swingCount = INT32_MIN;
    values.hitCount = 0;
    values.hitRate = INT32_MIN;
    values.stats = DamageStats{INT32_MIN, INT32_MIN, INT32_MIN};
    values.score = INT32_MIN;
    for (const DialogName name : {DialogName::DetailedReport, DialogName::SimpleReport}) {
        DialogTexts texts;
        composeDialog(name, values, texts);
        EXPECT_FALSE(texts.text.truncated());
        EXPECT_LT(texts.text.size(), 700u);
    }
}

TEST(BoundedText, CutsAtACharacterBoundaryAndStaysCut) {
    TextBuffer text;
    text.assign("a");
    bool fitted = true;
    while (fitted) {
        fitted = text.append("あ");  // three bytes: 1 + 3 x 340 = 1021, the next needs 1024
    }
    EXPECT_EQ(text.size(), 1021u);
    EXPECT_TRUE(text.truncated());
    EXPECT_EQ(text.c_str()[text.size()], '\0');
    EXPECT_FALSE(text.append("b"));  // would fit, but must not follow a cut
    EXPECT_EQ(text.size(), 1021u);

    text.assign("b");  // a new text starts whole
    EXPECT_FALSE(text.truncated());
    EXPECT_EQ(text.view(), "b");
}

TEST(BoundedText, OverlongFormattedLineIsCutWhole) {
    DialogTexts texts;
    beginText(texts, "x");
    // 1 + 100 x 3 bytes: the format buffer keeps 255 bytes, which would end inside the 85th
    // character, so only 84 are kept.
    const std::string format = "a" + repeat("あ", 100) + "%d";
    appendFormatted(texts, format.c_str(), 7);
    EXPECT_EQ(texts.format.view(), "a" + repeat("あ", 84));
    EXPECT_EQ(texts.text.view(), "xa" + repeat("あ", 84));
    appendLine(texts, "z");
    EXPECT_EQ(texts.text.view(), "xa" + repeat("あ", 84));
}

TEST(BoundedText, ADialogReusesTheBuffers) {
    DialogTexts texts;
    DialogValues values;
    composeDialog(DialogName::IntroDialog, values, texts);
    composeDialog(DialogName::FinalDialog, values, texts);
    EXPECT_EQ(texts.text.view(), "以上で終了です。");
}

}  // namespace
}  // namespace mole
