// The interpreter's settings: written by the agent's preferences (the Launch
// File page), read by tvint at every start.
#pragma once

#include "settings.h"

#define INTERPRETER_REG_KEY "Software\\Norvale\\Tarvin 2\\Interpreter"

// An unanswered confirmation takes the assumed answer after the timeout.
const DwordSetting INTERPRETER_ALLOW_ASSUME = {INTERPRETER_REG_KEY, "Allow Assume", 1};
// 0: the assumed answer is Yes; otherwise No.
const DwordSetting INTERPRETER_ASSUME_ANSWER = {INTERPRETER_REG_KEY, "Assume Answer", 1};
// Seconds, 1-60.
const DwordSetting INTERPRETER_ASSUME_TIMEOUT = {INTERPRETER_REG_KEY, "Assume Timeout", 10};
const DwordSetting INTERPRETER_SHOW_STATUS = {INTERPRETER_REG_KEY, "Show Status", 1};
// Seconds the status strip stays after the run, 1-60.
const DwordSetting INTERPRETER_STATUS_WINDOW = {INTERPRETER_REG_KEY, "Status Window", 2};
const DwordSetting INTERPRETER_CONFIRM_EXIT = {INTERPRETER_REG_KEY, "Confirm Exit", 1};
const DwordSetting INTERPRETER_CONFIRM_SHUTDOWN = {INTERPRETER_REG_KEY, "Confirm Shutdown", 1};
const DwordSetting INTERPRETER_CONFIRM_RESTART = {INTERPRETER_REG_KEY, "Confirm Restart", 1};
