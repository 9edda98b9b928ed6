#include <gtest/gtest.h>

#include "shell/setupdialog.h"

namespace {

TEST(SetupDialogList, FormatsSortsAsTextAndKeepsDuplicates) {
    std::vector<PlatformDisplayMode> modes = {
        {640, 480, 32, 60}, {1024, 768, 32, 60}, {800, 600, 16, 75}, {640, 480, 32, 60}};
    PlatformDisplayMode current{800, 600, 16, 75};
    ModeList list = BuildModeList(modes, &current);
    const std::vector<std::string> expected = {"1024x768x32bpp 60Hz", "640x480x32bpp 60Hz",
                                               "640x480x32bpp 60Hz", "800x600x16bpp 75Hz"};
    EXPECT_EQ(list.entries, expected);
    EXPECT_EQ(list.selected, 3);
}

TEST(SetupDialogList, PreselectionSearchesFromTheSecondEntryAndWraps) {
    struct Case {
        std::vector<std::string> entries;
        std::string prefix;
        int expected;
    };
    const Case cases[] = {
        {{"1024x768x32bpp 60Hz", "1024x768x32bpp 60Hz"}, "1024x768x32bpp 60Hz", 1},
        {{"1024x768x32bpp 60Hz", "640x480x32bpp 60Hz"}, "1024x768x32bpp 60Hz", 0},
        {{"1024x768x32bpp 60Hz", "640x480x32bpp 60Hz"}, "1280x720x32bpp 60Hz", -1},
        {{"1024x768x32bpp 60HZ"}, "1024x768x32bpp 60Hz", 0},  // case-insensitive
        {{"1024x768x32bpp 60Hz"}, "1024x768x32bpp 6", 0},     // a prefix is enough
        {{}, "640x480x32bpp 60Hz", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindEntryWithPrefix(c.entries, c.prefix), c.expected) << c.prefix;
}

TEST(SetupDialogList, CurrentModeMissingSelectsNothing) {
    PlatformDisplayMode current{1920, 1080, 32, 60};
    EXPECT_EQ(BuildModeList({{640, 480, 32, 60}}, &current).selected, -1);
    EXPECT_EQ(BuildModeList({{640, 480, 32, 60}}, nullptr).selected, -1);
}

TEST(SetupDialogList, EntriesParseBackToTheirMode) {
    for (PlatformDisplayMode mode :
         {PlatformDisplayMode{1024, 768, 32, 60}, PlatformDisplayMode{1280, 1024, 24, 0},
          PlatformDisplayMode{320, 200, 8, 144}}) {
        int w = -1, h = -1, b = -1, r = -1;
        ASSERT_TRUE(ParseModeEntry(FormatModeEntry(mode), &w, &h, &b, &r));
        EXPECT_EQ(w, mode.width);
        EXPECT_EQ(h, mode.height);
        EXPECT_EQ(b, mode.bitsPerPixel);
        EXPECT_EQ(r, mode.refreshRate);
    }
    int w, h, b, r;
    EXPECT_FALSE(ParseModeEntry("garbage", &w, &h, &b, &r));
}

}  // namespace
