#include <gtest/gtest.h>

#include "model/InjectionMaps.h"
#include "model/ParameterImage.h"

namespace kestrin {
namespace {

struct StoreCase {
    const char* what;
    Conversion conversion;
    int shown;
    int stored;
    int shownBack;
};

TEST(ParameterImageConversion, ByteFieldKeepsLowBitsOfTruncatedQuotient) {
    const StoreCase cases[] = {
        {"TPS 100 % below its offset", {10, 2500}, 2400, 246, 4960},
        {"TPS 100 % at its offset", {10, 2500}, 2500, 0, 2500},
        {"TPS 100 % at the top", {10, 2500}, 5000, 250, 5000},
        {"signed correction", {1, -100}, -60, 40, -60},
        {"RPM remainder dropped", {100, 0}, 12345, 123, 12300},
        {"negative quotient truncates toward zero", {100, 0}, -150, 255, 25500},
        {"above 8 bits", {1, 0}, 300, 44, 44},
    };
    for (const auto& c : cases) {
        ParameterImage image;
        image.setShownByte(34, c.shown, c.conversion);
        EXPECT_EQ(image.byte(34), c.stored) << c.what;
        EXPECT_EQ(image.shownByte(34, c.conversion), c.shownBack) << c.what;
    }
}

TEST(ParameterImageConversion, WordFieldKeepsLow16Bits) {
    const StoreCase cases[] = {
        {"largest word", {1, 0}, 65535, 65535, 65535},
        {"one above", {1, 0}, 65536, 0, 0},
        {"far above", {1, 0}, 70000, 4464, 4464},
        {"negative", {1, 0}, -1, 65535, 65535},
    };
    for (const auto& c : cases) {
        ParameterImage image;
        image.setShownWord(80, c.shown, c.conversion);
        EXPECT_EQ(image.word(80), c.stored) << c.what;
        EXPECT_EQ(image.shownWord(80, c.conversion), c.shownBack) << c.what;
        EXPECT_EQ(image.byte(159), 0) << c.what << ": the word spilled into its neighbour";
        EXPECT_EQ(image.byte(162), 0) << c.what << ": the word spilled into its neighbour";
    }
}

TEST(ParameterImageLayout, WordIsLittleEndianOnTheByteStorage) {
    ParameterImage image;
    image.setWord(3, 0x1234);
    EXPECT_EQ(image.byte(6), 0x34);
    EXPECT_EQ(image.byte(7), 0x12);
    image.setByte(2848, 0xCD);
    image.setByte(2849, 0xAB);
    EXPECT_EQ(image.word(1424), 0xABCD);
    EXPECT_EQ(image.page(19)[148], 0xCD);
}

TEST(ParameterImageLayout, PageHoldsItsImageBytes) {
    struct Case {
        int page;
        int offset;
        int imageByte;
    };
    const Case cases[] = {{1, 0, 0}, {1, 149, 149}, {2, 0, 150}, {19, 0, 2700}, {19, 149, 2849}};
    for (const auto& c : cases) {
        ParameterImage image;
        image.page(c.page)[static_cast<std::size_t>(c.offset)] = 0x5A;
        EXPECT_EQ(image.byte(c.imageByte), 0x5A) << "page " << c.page << " offset " << c.offset;
        EXPECT_EQ(image.page(c.page).size(), static_cast<std::size_t>(kPageSize));
    }
}

TEST(ParameterImageLayout, OutsideRangeReadsZeroAndIgnoresWrites) {
    ParameterImage image;
    const ParameterImage blank;
    image.setByte(-1, 1);
    image.setByte(kImageSize, 1);
    image.setWord(-1, 0xFFFF);
    image.setWord(kWordCount, 0xFFFF);
    EXPECT_EQ(image, blank);
    EXPECT_EQ(image.byte(kImageSize), 0);
    EXPECT_EQ(image.word(kWordCount), 0);
    EXPECT_TRUE(image.page(0).empty());
    EXPECT_TRUE(image.page(kPageCount + 1).empty());
}

TEST(ParameterImageLayout, MapCellIsLoadPointTimesFifteenPlusRpmPoint) {
    ParameterImage image;
    image.setWordCell(375, 2, 3, 0xBEEF);  // JET_1A, element 33 = word 408
    EXPECT_EQ(image.byte(816), 0xEF);
    EXPECT_EQ(image.byte(817), 0xBE);
    image.setByteCell(600, 9, 14, 42);  // last ADVANCE cell
    EXPECT_EQ(image.byte(749), 42);
    EXPECT_EQ(image.byte(750), 0);
}

TEST(InjectionMapProduct, RoundsAndSaturates) {
    struct Case {
        std::int16_t percent;
        std::uint16_t base;
        std::uint16_t word;
    };
    const Case cases[] = {
        {100, 800, 800},     {150, 333, 500},      {0, 5000, 0},     {1, 50, 1}, {1, 49, 0},
        {101, 65000, 65535}, {1000, 65535, 65535}, {-1, 100, 65535},  // a negative percent is taken
                                                                      // as unsigned
    };
    for (const auto& c : cases)
        EXPECT_EQ(WordFromPercent(c.percent, c.base), c.word) << c.percent << " % of " << c.base;
}

TEST(InjectionMapProduct, PercentFromWordRoundsToNearest) {
    struct Case {
        std::uint16_t word;
        std::uint16_t base;
        std::int16_t percent;
    };
    const Case cases[] = {
        {800, 800, 100}, {501, 333, 150}, {1005, 1000, 101}, {1004, 1000, 100}, {1, 3, 33},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PercentFromWord(c.word, c.base), c.percent) << c.word << " over " << c.base;
}

TEST(InjectionMapProduct, BaseZeroGivesDefinedPercent) {
    EXPECT_EQ(PercentFromWord(0, 0), 0);
    EXPECT_EQ(PercentFromWord(500, 0), PercentFromWord(500, 1));
    EXPECT_EQ(PercentFromWord(65535, 0), 32767);
}

TEST(InjectionMapProduct, PercentSurvivesTheImageWordForRealBases) {
    for (std::uint16_t base : {100, 137, 333, 800, 6553})
        for (int p = 0; p <= 1000; ++p) {
            const auto percent = static_cast<std::int16_t>(p);
            ASSERT_EQ(PercentFromWord(WordFromPercent(percent, base), base), percent)
                << p << " % of " << base;
        }
}

TEST(InjectionMapSet, WritesOnlyTheWordsOfItsMap) {
    for (int m = 0; m < kInjectionMapCount; ++m) {
        const auto map = static_cast<InjectionMap>(m);
        InjectionMapSet maps;
        maps.percentOf(map).fill(150);
        maps.baseOf(map).fill(333);
        ParameterImage image;
        maps.StoreToImage(map, image);
        const int first = InfoOf(map).firstWord;
        EXPECT_EQ(image.word(first - 1), 0) << InfoOf(map).section;
        EXPECT_EQ(image.word(first), 500) << InfoOf(map).section;
        EXPECT_EQ(image.word(first + kMapCells - 1), 500) << InfoOf(map).section;
        EXPECT_EQ(image.word(first + kMapCells), 0) << InfoOf(map).section;

        InjectionMapSet back;
        back.baseOf(map).fill(333);
        back.LoadFromImage(map, image);
        EXPECT_EQ(back.percentOf(map), maps.percentOf(map)) << InfoOf(map).section;
    }
}

}  // namespace
}  // namespace kestrin
