// The agent's settings: written by its preferences and its "don't show
// again" boxes, read at its start.
#pragma once

#include "settings.h"

#define AGENT_REG_KEY "Software\\Norvale\\Tarvin 2\\Agent"

const DwordSetting AGENT_NO_SPLASH = {AGENT_REG_KEY, "No Splash", 0};
const DwordSetting AGENT_SHOW_WIZARD = {AGENT_REG_KEY, "Show Wizard", 1};
const DwordSetting AGENT_EXIT_MESSAGE = {AGENT_REG_KEY, "Exit Message", 1};
const DwordSetting AGENT_SWOP_MOUSE = {AGENT_REG_KEY, "Swop Mouse", 0};
const DwordSetting AGENT_RUN_SCREEN_SAVER = {AGENT_REG_KEY, "Run Screen Saver", 0};
// SS_CORNER_* bits (agentreq.h).
const DwordSetting AGENT_SCREEN_SAVER_CORNER = {AGENT_REG_KEY, "Screen Saver Corner", 0};
// Seconds the cursor rests in a corner, 1-60.
const DwordSetting AGENT_SCREEN_SAVER_TIME = {AGENT_REG_KEY, "Screen Saver Time", 1};
// How many entries the log keeps (1-9999); 0: no log.
const DwordSetting AGENT_LOG_FILE = {AGENT_REG_KEY, "Log File", 0};
