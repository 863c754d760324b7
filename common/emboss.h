// Embossed icons: the icon's silhouette drawn in the system's 3-D colours,
// as a disabled or raised icon is shown in menus and on icon buttons.
#pragma once

#include <windows.h>

// Draws the silhouette of icon, scaled to rc: one pixel right and down in the
// highlight colour (shadow false: a greyed icon) or the shadow colour (shadow
// true: the shadow under a raised icon), and at rc in the shadow colour. The
// silhouette is every pixel that is not white when the icon is drawn on white
// (colour true: in the target's format, else reduced to one bit). false when
// nothing could be drawn.
bool DrawEmbossedIcon(HDC hdc, HICON icon, const RECT& rc, bool colour, bool shadow);
