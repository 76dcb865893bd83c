#include "activator/Activator.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace telvor::activator {
namespace {

Command Parse(std::initializer_list<std::string_view> args) {
    const std::vector<std::string_view> v(args);
    return ParseCommand(v);
}

TEST(ActivatorArguments, SecondCharacterSelectsTheState) {
    EXPECT_EQ(Parse({"/A"}), Command::DisplayOn);
    EXPECT_EQ(Parse({"/a"}), Command::DisplayOn);
    EXPECT_EQ(Parse({"xA"}), Command::DisplayOn);
    EXPECT_EQ(Parse({"-a"}), Command::DisplayOn);
    EXPECT_EQ(Parse({"/D"}), Command::DisplayOff);
    EXPECT_EQ(Parse({"/d"}), Command::DisplayOff);
    EXPECT_EQ(Parse({"AD"}), Command::DisplayOff) << "the first character is not looked at";
    EXPECT_EQ(Parse({"DA"}), Command::DisplayOn) << "the first character is not looked at";
}

TEST(ActivatorArguments, FurtherCharactersAndArgumentsAreIgnored) {
    EXPECT_EQ(Parse({"/Dx"}), Command::DisplayOff);
    EXPECT_EQ(Parse({"/Aktivieren"}), Command::DisplayOn);
    EXPECT_EQ(Parse({"/D", "/A"}), Command::DisplayOff);
    EXPECT_EQ(Parse({"/x", "/A"}), Command::ShowUsage) << "only the first argument counts";
}

TEST(ActivatorArguments, AnythingElseAsksForTheUsage) {
    EXPECT_EQ(Parse({}), Command::ShowUsage);
    EXPECT_EQ(Parse({""}), Command::ShowUsage);
    EXPECT_EQ(Parse({"D"}), Command::ShowUsage) << "one character is too short";
    EXPECT_EQ(Parse({"A"}), Command::ShowUsage);
    EXPECT_EQ(Parse({"/"}), Command::ShowUsage);
    EXPECT_EQ(Parse({"/X"}), Command::ShowUsage);
    EXPECT_EQ(Parse({"//"}), Command::ShowUsage);
    EXPECT_EQ(Parse({"/?"}), Command::ShowUsage);
    // Upper-casing is ASCII only: bytes above 0x7F never turn into A or D.
    EXPECT_EQ(Parse({"/\xC4"}), Command::ShowUsage);
    EXPECT_EQ(Parse({"/\xE1"}), Command::ShowUsage);
    EXPECT_EQ(Parse({std::string_view("/\0D", 3)}), Command::ShowUsage);
}

TEST(ActivatorArguments, RequestParameterAndTargets) {
    EXPECT_EQ(DisplayParameter(Command::DisplayOn), 1u);
    EXPECT_EQ(DisplayParameter(Command::DisplayOff), 0u);
    EXPECT_EQ(kSetDisplayMessage, 0x403u);
    ASSERT_EQ(kTargetWindows.size(), 2u);
    EXPECT_STREQ(kTargetWindows[0].className, "TTelvorMainForm");
    EXPECT_STREQ(kTargetWindows[0].title, "TelvorServer");
    EXPECT_STREQ(kTargetWindows[1].className, "TTelvClientMainForm");
    EXPECT_STREQ(kTargetWindows[1].title, "TelvorClient");
}

// The expected text is written as UTF-8 and mapped here to code page 850 for the only
// non-ASCII letters it holds, so the comparison does not depend on the compiler's charset.
std::string ToCp850(std::u8string_view utf8) {
    struct Mapping {
        std::u8string_view from;
        char to;
    };
    static constexpr Mapping kUmlauts[] = {{u8"ä", '\x84'}, {u8"ö", '\x94'}, {u8"ü", '\x81'}};
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        bool mapped = false;
        for (const auto& m : kUmlauts) {
            if (utf8.substr(i, m.from.size()) == m.from) {
                out += m.to;
                i += m.from.size();
                mapped = true;
                break;
            }
        }
        if (!mapped) {
            EXPECT_LT(static_cast<unsigned char>(utf8[i]), 0x80u) << "unmapped character";
            out += static_cast<char>(utf8[i++]);
        }
    }
    return out;
}

TEST(ActivatorUsage, IsTheSeventeenLinesInCodePage850WithCrLf) {
    const std::u8string_view lines[] = {
        u8"TelvorActivator 2.00",
        u8"",
        u8"",
        u8"Aufruf:  TELVACT /A | /D",
        u8"",
        u8"         /A      Aktiviert die Anzeige von Anrufen in Telvor",
        u8"                 und TelvorClient",
        u8"         /D      Deaktiviert die Anzeige von Anrufen in Telvor",
        u8"                 und TelvorClient",
        u8"",
        u8"Sie können auch die Anzeige in Telvor und TelvorClient",
        u8"aktivieren und deaktivieren, indem Sie mit der rechten Maustaste",
        u8"auf das Icon in der Taskleiste klicken und den entsprechenden Punkt",
        u8"aus dem Menü auswählen.",
        u8"",
        u8"Der Aufruf von TELVACT ist natürlich auch aus Batch-Dateien möglich,",
        u8"wenn Sie z. B. ein MS-DOS-Programm öffnen.",
    };
    std::string expected;
    for (auto line : lines) expected += ToCp850(line) + "\r\n";
    EXPECT_EQ(UsageText(), expected);
}

TEST(ActivatorUsage, LineStructureAndUmlautBytes) {
    const std::string_view text = UsageText();
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.find('\0'), std::string_view::npos);

    // Every LF is preceded by CR, every CR followed by LF, and the text ends with a line end.
    std::size_t lines = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++lines;
            ASSERT_GT(i, 0u);
            EXPECT_EQ(text[i - 1], '\r') << "bare LF at " << i;
        }
        if (text[i] == '\r') {
            ASSERT_LT(i + 1, text.size());
            EXPECT_EQ(text[i + 1], '\n') << "bare CR at " << i;
        }
    }
    EXPECT_EQ(lines, 17u);
    EXPECT_TRUE(text.ends_with("\r\n"));

    // Code page 850, not 1252 (0xFC) and not UTF-8 (0xC3 0xBC).
    EXPECT_NE(text.find("Men\x81 "), std::string_view::npos);
    EXPECT_NE(text.find("k\x94nnen"), std::string_view::npos);
    EXPECT_NE(text.find("nat\x81rlich"), std::string_view::npos);
    EXPECT_NE(text.find("ausw\x84hlen"), std::string_view::npos);
    EXPECT_EQ(text.find('\xFC'), std::string_view::npos);
    EXPECT_EQ(text.find('\xC3'), std::string_view::npos);
}

}  // namespace
}  // namespace telvor::activator
