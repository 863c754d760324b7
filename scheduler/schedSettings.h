// The schedule editor's settings: its window and columns (mainwnd.h) and
// whether the tips open at its start.
#pragma once

#include "settings.h"

#define SCHED_REG_KEY "Software\\Norvale\\Tarvin 2\\Scheduler"

const DwordSetting SCHED_SHOW_TIPS = {SCHED_REG_KEY, SHOW_TIPS_NAME, 1};
