// Placeholders for the wizards while they are being written: each answers
// "cancelled". They go, with this file, when the wizards land.
#include "wizardDlg.h"

int ShowStartupDialog(HWND, HINSTANCE)
{
    return 0;
}
int RunEditorWizard(HWND, HINSTANCE, unsigned)
{
    return 0;
}
void OnAddToMenu(HWND, HINSTANCE)
{
}
int ShowAddToMenuDialog(HWND, HINSTANCE, const char*, bool)
{
    return 0;
}
