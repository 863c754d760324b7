#include "iconstrip_win.h"

#include <new>
#include <string.h>

#include "iconstrip.h"
#include "winholders.h"

namespace
{
// The bytes of the icon entry that suits side, or nullptr.
const unsigned char* FindIconPicture(HINSTANCE instance, int id, int side, size_t* size)
{
    HRSRC group = FindResourceA(instance, MAKEINTRESOURCEA(id), RT_GROUP_ICON);
    HGLOBAL groupData = group ? LoadResource(instance, group) : nullptr;
    BYTE* directory = groupData ? (BYTE*)LockResource(groupData) : nullptr;
    if (!directory)
        return nullptr;
    int entry = LookupIconIdFromDirectoryEx(directory, TRUE, side, side, LR_DEFAULTCOLOR);
    HRSRC icon = entry ? FindResourceA(instance, MAKEINTRESOURCEA(entry), RT_ICON) : nullptr;
    HGLOBAL iconData = icon ? LoadResource(instance, icon) : nullptr;
    if (!iconData)
        return nullptr;
    *size = SizeofResource(instance, icon);
    return (const unsigned char*)LockResource(iconData);
}

HBITMAP MakeBitmap(int width, int height, WORD bitCount, const void* bits, size_t bytes)
{
    struct
    {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info = {};
    info.header.biSize = sizeof(info.header);
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = bitCount;
    info.colours[1] = {255, 255, 255, 0};
    void* target = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, (BITMAPINFO*)&info, DIB_RGB_COLORS, &target, nullptr, 0);
    if (bitmap && target)
        memcpy(target, bits, bytes);
    return bitmap;
}
} // namespace

HIMAGELIST LoadIconStrip(HINSTANCE instance, const int* ids, int count, int side, UINT flags)
{
    HIMAGELIST list = ImageList_Create(side, side, flags, count, 0);
    size_t pixelCount = IconStripPixels(side, count), maskBytes = IconStripMaskBytes(side, count);
    if (!list || pixelCount == 0)
        return list;
    uint32_t* pixels = new (std::nothrow) uint32_t[pixelCount]();
    unsigned char* mask = new (std::nothrow) unsigned char[maskBytes];
    bool* copied = new (std::nothrow) bool[(size_t)count]();
    if (pixels && mask && copied)
    {
        memset(mask, 0xFF, maskBytes); // a picture not copied stays transparent
        for (int i = 0; i < count; i++)
        {
            size_t size = 0;
            const unsigned char* picture = FindIconPicture(instance, ids[i], side, &size);
            copied[i] = picture && CopyIconPicture(picture, size, side, i, count, pixels, mask);
        }
        CGdiObject<HBITMAP> colour(MakeBitmap(side * count, side, 32, pixels, pixelCount * 4));
        CGdiObject<HBITMAP> transparency(MakeBitmap(side * count, side, 1, mask, maskBytes));
        if (colour.Get() && transparency.Get())
            ImageList_Add(list, colour.Get(), transparency.Get());
    }
    // Pictures the strip could not hold are added as icons, in their place.
    bool stripAdded = ImageList_GetImageCount(list) == count;
    if (!stripAdded)
        ImageList_SetImageCount(list, (UINT)count);
    for (int i = 0; i < count; i++)
    {
        if (stripAdded && copied && copied[i])
            continue;
        CIcon icon((HICON)LoadImageA(instance, MAKEINTRESOURCEA(ids[i]), IMAGE_ICON, side, side, 0));
        if (icon.Get())
            ImageList_ReplaceIcon(list, i, icon.Get());
    }
    delete[] pixels;
    delete[] mask;
    delete[] copied;
    return list;
}
