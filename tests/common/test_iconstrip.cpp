#include "iconstrip.h"

#include <gtest/gtest.h>
#include <vector>

// A 2 x 2 icon entry: header, colour pixels 1-4 (bottom row first), and an
// AND mask whose first row makes the second pixel transparent.
static std::vector<unsigned char> Icon(int side, int height, int bits, int compression)
{
    std::vector<unsigned char> r(40 + 16 + 8, 0);
    r[0] = 40; // the header's size, then its width, height, planes, bits and compression
    r[4] = (unsigned char)side;
    r[8] = (unsigned char)height;
    r[12] = 1;
    r[14] = (unsigned char)bits;
    r[16] = (unsigned char)compression;
    for (int i = 0; i < 4; i++)
        r[40 + 4 * i] = (unsigned char)(i + 1);
    r[56] = 0x40;
    return r;
}

TEST(IconStrip, PicturesLandInTheirSlotWithTheirMaskAndOthersAreRefused)
{
    const int side = 2, count = 3;
    std::vector<uint32_t> px(IconStripPixels(side, count), 0xEE);
    std::vector<unsigned char> mask(IconStripMaskBytes(side, count), 0xFF);
    ASSERT_EQ(8u, mask.size()); // two rows of 6 bits, each padded to 4 bytes
    std::vector<unsigned char> good = Icon(2, 4, 32, 0);
    ASSERT_TRUE(CopyIconPicture(good.data(), good.size(), side, 1, count, px.data(), mask.data()));
    EXPECT_EQ((std::vector<uint32_t>{0xEE, 0xEE, 1, 2, 0xEE, 0xEE, 0xEE, 0xEE, 3, 4, 0xEE, 0xEE}), px);
    EXPECT_EQ(0xDF, mask[0]); // slot 1 starts at bit 2: opaque, then transparent
    EXPECT_EQ(0xCF, mask[4]);

    std::vector<std::vector<unsigned char>> refused = {Icon(2, 4, 8, 0), Icon(3, 6, 32, 0), Icon(2, 2, 32, 0),
                                                       Icon(2, 4, 32, 3)};
    refused.push_back(std::vector<unsigned char>(good.begin(), good.end() - 1));
    for (const auto& r : refused)
        EXPECT_FALSE(CopyIconPicture(r.data(), r.size(), side, 0, count, px.data(), mask.data()));
    EXPECT_FALSE(CopyIconPicture(good.data(), good.size(), side, count, count, px.data(), mask.data()));
    EXPECT_EQ(0xEEu, px[0]);
    EXPECT_EQ(0xFF, mask[1]);
}
