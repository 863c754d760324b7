#include "wizardDlg.h"

INT_PTR RunNewTaskWizard(tagWIZARD_DATA*)
{
    return 2;
}
