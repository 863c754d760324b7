// An image list filled from icon resources in one go (iconstrip.h).
#pragma once

#include <windows.h>
#include <commctrl.h>

// An image list (ImageList_Create's flags) of side x side pictures, one for
// each icon resource of ids, in that order: picture i is ids[i]. A resource
// whose picture is not 32-bit is loaded and added as an icon; one that is
// missing leaves its picture empty. nullptr when the list cannot be made.
HIMAGELIST LoadIconStrip(HINSTANCE instance, const int* ids, int count, int side, UINT flags);
