// Pictures of icon resources copied side by side into one strip, so that an
// image list is filled in one go instead of icon by icon.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Room of a strip of count pictures of side x side: its 32-bit pixels and its
// 1-bit mask (rows padded to 4 bytes), both with the bottom row first, as a
// bitmap stores them.
size_t IconStripPixels(int side, int count);
size_t IconStripMaskBytes(int side, int count);

// Copies one picture of an icon resource (the bytes of an RT_ICON entry: the
// bitmap header, the colour pixels, the AND mask) into picture slot of the
// strip. Only an uncompressed 32-bit picture of side x side is copied;
// anything else (a compressed or paletted picture, another size, too few
// bytes) returns false and leaves the strip alone. A mask bit of 1 is
// transparent, as in the icon.
bool CopyIconPicture(const unsigned char* res, size_t size, int side, int slot, int count, uint32_t* pixels,
                     unsigned char* mask);
