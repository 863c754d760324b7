#include "iconstrip.h"

#include <string.h>

namespace
{
const size_t kHeaderMin = 40; // the smallest bitmap header

uint32_t ReadU32(const unsigned char* p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

size_t MaskStride(int width)
{
    return (size_t)((width + 31) / 32) * 4;
}
} // namespace

size_t IconStripPixels(int side, int count)
{
    return side > 0 && count > 0 ? (size_t)side * (size_t)side * (size_t)count : 0;
}

size_t IconStripMaskBytes(int side, int count)
{
    return side > 0 && count > 0 ? MaskStride(side * count) * (size_t)side : 0;
}

bool CopyIconPicture(const unsigned char* res, size_t size, int side, int slot, int count, uint32_t* pixels,
                     unsigned char* mask)
{
    if (!res || !pixels || !mask || side <= 0 || slot < 0 || slot >= count || size < kHeaderMin)
        return false;
    uint32_t headerSize = ReadU32(res);
    int32_t width = (int32_t)ReadU32(res + 4);
    int32_t height = (int32_t)ReadU32(res + 8);
    unsigned bits = (unsigned)res[14] | (unsigned)res[15] << 8;
    uint32_t compression = ReadU32(res + 16);
    // An icon's height counts the colour pixels and the mask.
    if (headerSize < kHeaderMin || headerSize > size || width != side || height != 2 * side || bits != 32 ||
        compression != 0)
        return false;
    size_t colourBytes = (size_t)side * (size_t)side * 4;
    size_t iconMaskStride = MaskStride(side);
    if (size - headerSize < colourBytes + iconMaskStride * (size_t)side)
        return false;

    const unsigned char* colour = res + headerSize;
    const unsigned char* iconMask = colour + colourBytes;
    size_t stripWidth = (size_t)side * (size_t)count;
    size_t stripMaskStride = MaskStride(side * count);
    for (int y = 0; y < side; y++)
    {
        memcpy(pixels + (size_t)y * stripWidth + (size_t)slot * (size_t)side, colour + (size_t)y * side * 4,
               (size_t)side * 4);
        for (int x = 0; x < side; x++)
        {
            bool transparent = (iconMask[(size_t)y * iconMaskStride + (size_t)x / 8] >> (7 - x % 8)) & 1;
            size_t bit = (size_t)slot * (size_t)side + (size_t)x;
            unsigned char* byte = mask + (size_t)y * stripMaskStride + bit / 8;
            unsigned char flag = (unsigned char)(0x80 >> (bit % 8));
            *byte = transparent ? (unsigned char)(*byte | flag) : (unsigned char)(*byte & ~flag);
        }
    }
    return true;
}
