#include "platform/TextLayout.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace zorlet;

namespace {

const std::string kChinese = "周末一起去香山看红叶吧，顺便在山脚下吃一顿农家菜，然后坐地铁回城里。";

TEST(TextLayoutTest, MeasuringTheSameTextTwiceGivesTheSameSize) {
    auto& layout = TextLayout::shared();
    auto first = layout.measure(kChinese, Font::systemFont(15), 200);
    auto second = layout.measure(kChinese, Font::systemFont(15), 200);
    EXPECT_EQ(first.width, second.width);
    EXPECT_EQ(first.height, second.height);
    EXPECT_GT(first.lineCount, 1);
    EXPECT_LE(first.width, 200);
    // Whole points, rounded up.
    EXPECT_EQ(first.height, static_cast<int>(first.height));
}

TEST(TextLayoutTest, ATextNeedingThreeLinesMeasuresThreeLineHeights) {
    auto& layout = TextLayout::shared();
    Font font = Font::systemFont(14);
    double line = layout.lineHeight(font);
    EXPECT_GT(line, 14);
    EXPECT_LT(line, 30);
    // Twenty 14-point characters at 100 points: seven to a line, three lines.
    auto measured = layout.measure("一二三四五六七八九十一二三四五六七八九十", font, 100);
    EXPECT_EQ(measured.lineCount, 3);
    EXPECT_EQ(measured.height, 3 * line);
    // Mixed Latin and Chinese lines are no taller than Chinese ones.
    EXPECT_EQ(layout.measure("Hello 你好", font, 0).height, line);
}

TEST(TextLayoutTest, LimitsKeepOnlyWholeLinesThatFit) {
    auto& layout = TextLayout::shared();
    Font font = Font::systemFont(14);
    double line = layout.lineHeight(font);
    std::string text = "一二三四五六七八九十一二三四五六七八九十";
    EXPECT_EQ(layout.measure(text, font, 100, 2.5 * line).height, 2 * line);
    EXPECT_EQ(layout.measure(text, font, 100, 0, LineBreakMode::WordWrap, 1).height, line);
    // A height smaller than a line still shows one line.
    EXPECT_EQ(layout.measure(text, font, 100, 3).lineCount, 1);
    // No width: one line per paragraph.
    auto unbounded = layout.measure("第一段\n第二段", font, 0);
    EXPECT_EQ(unbounded.lineCount, 2);
    EXPECT_EQ(layout.measure("", font, 100).height, 0);
}

TEST(TextLayoutTest, BothWrapModesStayWithinTheWidth) {
    auto& layout = TextLayout::shared();
    Font font = Font::systemFont(17);
    std::string text = "Zorlet wants to go out this weekend, somewhere quiet near the river";
    auto words = layout.measure(text, font, 120, 0, LineBreakMode::WordWrap);
    auto characters = layout.measure(text, font, 120, 0, LineBreakMode::CharacterWrap);
    EXPECT_LE(words.width, 120);
    EXPECT_LE(characters.width, 120);
    EXPECT_GT(words.lineCount, 3);
    // Breaking anywhere never needs more lines than breaking between words.
    EXPECT_LE(characters.lineCount, words.lineCount);
    EXPECT_GT(layout.measure("Hello World", Font::boldSystemFont(17), 0).width,
              layout.measure("Hello World", font, 0).width);
}

TEST(TextLayoutTest, InvalidUtf8IsMeasuredUpToTheBadByte) {
    auto& layout = TextLayout::shared();
    std::string bad = "你好\xFF\xFE世界";
    auto measured = layout.measure(bad, Font::systemFont(14), 0);
    EXPECT_EQ(measured.width, layout.measure("你好", Font::systemFont(14), 0).width);
}

TEST(TextLayoutTest, WorkerThreadsMayMeasureAtTheSameTime) {
    std::vector<std::thread> threads;
    std::vector<double> heights(4);
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([i, &heights] {
            for (int n = 0; n < 20; ++n) {
                heights[static_cast<std::size_t>(i)] =
                    TextLayout::shared().measure(kChinese, Font::systemFont(15), 200).height;
            }
        });
    }
    for (auto& t : threads) {
        t.join();
    }
    for (double h : heights) {
        EXPECT_EQ(h, heights[0]);
    }
}

}  // namespace
