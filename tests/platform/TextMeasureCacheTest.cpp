#include "platform/TextLayout.h"
#include "platform/TextMeasureCache.h"

#include <gtest/gtest.h>

#include <string>

using namespace zorlet;

namespace {

TEST(TextMeasureCacheTest, EveryInputThatDecidesTheSizeIsPartOfTheKey) {
    auto key = [](double size, bool bold, double width, double height, int mode, int lines) {
        return TextMeasureCache::keyFor("去爬山", size, bold, width, height, mode, lines);
    };
    std::string base = key(14, false, 200, 0, 0, 0);
    EXPECT_EQ(base, key(14, false, 200, 0, 0, 0));
    for (const std::string& other :
         {key(15, false, 200, 0, 0, 0), key(14, true, 200, 0, 0, 0), key(14, false, 201, 0, 0, 0),
          key(14, false, 200, 40, 0, 0), key(14, false, 200, 0, 1, 0), key(14, false, 200, 0, 0, 2)}) {
        EXPECT_NE(base, other);
    }
    EXPECT_NE(TextMeasureCache::keyFor("a", 14, false, 200, 0, 0, 0),
              TextMeasureCache::keyFor("b", 14, false, 200, 0, 0, 0));
}

TEST(TextMeasureCacheTest, TheLeastRecentlyUsedGoesFirstAndBothBoundsHold) {
    TextMeasureCache cache;
    for (std::size_t i = 0; i < TextMeasureCache::kMaxEntries; ++i) {
        cache.store("text " + std::to_string(i), {double(i), 1, 1});
    }
    ASSERT_TRUE(cache.find("text 0"));  // now the most recent
    cache.store("one more", {1, 1, 1});
    EXPECT_EQ(cache.count(), TextMeasureCache::kMaxEntries);
    EXPECT_TRUE(cache.find("text 0"));
    EXPECT_FALSE(cache.find("text 1"));
    EXPECT_EQ(cache.find("text 2")->width, 2);

    // Long texts are not kept, and the bytes bound evicts before the count does.
    cache.clear();
    cache.store(std::string(TextMeasureCache::kLongestText + 1, 'x'), {1, 1, 1});
    EXPECT_EQ(cache.count(), 0u);
    std::size_t added = 0;
    for (; added < 3000; ++added) {
        cache.store(std::to_string(added) + std::string(4000, 'y'), {1, 1, 1});
    }
    EXPECT_LE(cache.bytes(), TextMeasureCache::kMaxBytes);
    EXPECT_LT(cache.count(), added);
    EXPECT_TRUE(cache.find(std::to_string(added - 1) + std::string(4000, 'y')));
}

TEST(TextMeasureCacheTest, RememberedSizesEqualFreshOnes) {
    auto& layout = TextLayout::shared();
    const std::string text = "周末一起去香山看红叶吧，顺便在山脚下吃一顿农家菜。";
    layout.clearCache();
    auto fresh = layout.measure(text, Font::systemFont(14), 120, 0, LineBreakMode::CharacterWrap);
    auto remembered = layout.measure(text, Font::systemFont(14), 120, 0, LineBreakMode::CharacterWrap);
    EXPECT_EQ(fresh.width, remembered.width);
    EXPECT_EQ(fresh.height, remembered.height);
    EXPECT_EQ(fresh.lineCount, remembered.lineCount);
    // A different width is a different answer, not the remembered one.
    auto wider = layout.measure(text, Font::systemFont(14), 400, 0, LineBreakMode::CharacterWrap);
    EXPECT_LT(wider.lineCount, fresh.lineCount);
    double line = layout.lineHeight(Font::boldSystemFont(14));
    layout.clearCache();
    EXPECT_EQ(layout.lineHeight(Font::boldSystemFont(14)), line);
}

}  // namespace
