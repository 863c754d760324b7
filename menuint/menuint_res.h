// Resource ids of tvmint.
#pragma once

// Icons: 1 is the program's icon (class icon and shell icon).
#define IDI_MENUINT 1
