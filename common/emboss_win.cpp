#include "emboss.h"
#include "winholders.h"

namespace
{
// PSDPxax: the selected brush where the source is dark, the target elsewhere.
const DWORD kRopEmboss = 0x00B8074A;

// The icon on white, monochrome or in the target's format. Drawn in colour
// first and reduced to one bit by the blit (white stays white, everything
// else turns black): icons with an alpha channel do not draw straight into a
// monochrome bitmap.
HBITMAP MakeIconMask(HDC target, HICON icon, int width, int height, bool colour)
{
    CMemoryDC colourDC(target);
    if (!colourDC.Get())
        return nullptr;
    HBITMAP colourBmp = CreateCompatibleBitmap(target, width, height);
    if (!colourBmp)
        return nullptr;
    {
        CSelectObject select(colourDC.Get(), colourBmp);
        PatBlt(colourDC.Get(), 0, 0, width, height, WHITENESS);
        DrawIconEx(colourDC.Get(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    }
    if (colour)
        return colourBmp;

    CGdiObject<HBITMAP> colourOwner(colourBmp);
    CMemoryDC monoDC(target);
    if (!monoDC.Get())
        return nullptr;
    HBITMAP monoBmp = CreateBitmap(width, height, 1, 1, nullptr);
    if (!monoBmp)
        return nullptr;
    CSelectObject selectColour(colourDC.Get(), colourBmp);
    CSelectObject selectMono(monoDC.Get(), monoBmp);
    SetBkColor(colourDC.Get(), RGB(255, 255, 255));
    BitBlt(monoDC.Get(), 0, 0, width, height, colourDC.Get(), 0, 0, SRCCOPY);
    return monoBmp;
}
} // namespace

bool DrawEmbossedIcon(HDC hdc, HICON icon, const RECT& rc, bool colour, bool shadow)
{
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    if (!hdc || !icon || width <= 0 || height <= 0)
        return false;

    CGdiObject<HBITMAP> mask(MakeIconMask(hdc, icon, width, height, colour));
    CMemoryDC maskDC(hdc);
    CGdiObject<HBRUSH> highlightBrush(CreateSolidBrush(GetSysColor(COLOR_BTNHIGHLIGHT)));
    CGdiObject<HBRUSH> shadowBrush(CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW)));
    if (!mask.Get() || !maskDC.Get() || !highlightBrush.Get() || !shadowBrush.Get())
        return false;
    CSelectObject selectMask(maskDC.Get(), mask.Get());

    // A monochrome source maps to the target's text colour (0) and background
    // colour (1): white must stay "keep the target", black "paint".
    CTextState state(hdc);
    SetBkColor(hdc, RGB(255, 255, 255));
    SetTextColor(hdc, RGB(0, 0, 0));
    {
        CSelectObject brush(hdc, shadow ? shadowBrush.Get() : highlightBrush.Get());
        BitBlt(hdc, rc.left + 1, rc.top + 1, width, height, maskDC.Get(), 0, 0, kRopEmboss);
    }
    CSelectObject brush(hdc, shadowBrush.Get());
    BitBlt(hdc, rc.left, rc.top, width, height, maskDC.Get(), 0, 0, kRopEmboss);
    return true;
}
