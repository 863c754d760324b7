// tvmedit: the main window comes with its own change; until then the program
// only starts and ends.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return 0;
}
