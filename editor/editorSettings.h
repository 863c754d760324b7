// The launch file editor's settings: written by its preferences and at exit,
// read at its start and by the action wizard.
#pragma once

#include "settings.h"
#include "editmain.h"

const DwordSetting EDITOR_SHOW_TIPS = {EDITOR_REG_KEY, SHOW_TIPS_NAME, 1};
const DwordSetting EDITOR_SHOW_STARTUP = {EDITOR_REG_KEY, "Show Startup", 1};
const DwordSetting EDITOR_ADVANCED_MODE = {EDITOR_REG_KEY, "Advanced Mode", 0};
const DwordSetting EDITOR_ADD_SHORTCUTS = {EDITOR_REG_KEY, "Add Shortcuts", 1};
const DwordSetting EDITOR_INSERT_DELAY = {EDITOR_REG_KEY, "Insert Delay", 1};
const DwordSetting EDITOR_INSERT_COMMENTS = {EDITOR_REG_KEY, "Insert Comments", 1};
// How a Launch line the wizard writes opens its window: 1-3; anything else
// stands for 1.
const DwordSetting EDITOR_WINDOW_STATE = {EDITOR_REG_KEY, "Window State", 1};
// Written at exit for the run's Test command, never read.
const DwordSetting EDITOR_TEST_FULL = {EDITOR_REG_KEY, "Test Full", 0};

inline int EditorWindowState(unsigned long stored)
{
    return stored >= 1 && stored <= 3 ? (int)stored : 1;
}
