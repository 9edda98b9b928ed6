#include "content/imageutils.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/fatalcapture.h"

namespace {

// Rows of 2 pixels × 3 bytes; every byte says which row it started in.
std::vector<unsigned char> Rows(int height) {
    std::vector<unsigned char> data;
    for (int y = 0; y < height; ++y) {
        for (int i = 0; i < 6; ++i) data.push_back(static_cast<unsigned char>(y * 16 + i));
    }
    return data;
}

TEST(FlipVertically, ReversesRowsAndKeepsTheMiddleOfAnOddHeight) {
    for (int height : {1, 2, 3, 4}) {
        SCOPED_TRACE(height);
        std::vector<unsigned char> data = Rows(height);
        ImageUtils::FlipVertically(data.data(), 2, height, 3);
        for (int y = 0; y < height; ++y) {
            for (int i = 0; i < 6; ++i) {
                EXPECT_EQ(data[y * 6 + i], (height - 1 - y) * 16 + i) << "row " << y;
            }
        }
    }
}

TEST(FlipVertically, NullDataIsFatal) {
    const std::string message = CaptureFatal([] { ImageUtils::FlipVertically(nullptr, 2, 2, 4); });
    EXPECT_NE(message.find("Assertion failed: data != NULL, file imageutils.cpp, line "),
              std::string::npos)
        << message;
}

}  // namespace
