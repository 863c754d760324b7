// What tests need to know about tvtarget.exe: its control ids and the names
// it uses. The options are described in main.cpp.
#pragma once

enum
{
    TARGET_ID_BUTTON = 1001,   // "&Press Me"
    TARGET_ID_LISTVIEW = 1002, // columns Name, Value, Note; rows alpha, beta, gamma
    TARGET_ID_TREE = 1003,     // Root (Child A (Grandchild), Child B), Other
    TARGET_ID_STATUS = 1004,   // "Ready", "Part two", ""
    TARGET_ID_COMBO = 1005,    // One, Two (selected), Three
    TARGET_ID_EDIT = 1006,     // "edit text"
    TARGET_ID_DISABLED = 1007, // a disabled button "Disabled"
    TARGET_ID_LISTBOX = 1008   // "first item", "second item"
};

#define TARGET_CLASS "TVTargetWindow"
#define TARGET_TOOL_CLASS "TVTargetTool"
#define TARGET_DEFAULT_TITLE "TV Target"
#define TARGET_MSGBOX_CAPTION "TV Target Question"
