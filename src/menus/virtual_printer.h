// The virtual printer: window 9, whose text holds the conversation log,
// with a column ruler above it.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "util/relaxed.h"
#include "util/wakeup.h"

// A complete printer text in UTF-8 that a program leaves for the service
// task to show; guarded by printerbufferlock. The console buffer sits
// beside it; nothing in the runtime fills it.
extern std::mutex printerbufferlock;
extern std::vector<uint8_t> printeroutputbuffer;
extern std::vector<uint8_t> consoleoutputbuffer;
// Set by whoever filled the buffer; setting it wakes the service task.
extern RingingFlag printerpending;
extern relaxed<int64_t> printerlastflush;
extern relaxed<bool> printerrunning;

void p_InitPrinter();
void p_SetPrinter(const std::string& text);
std::string p_GetPrinter();
void p_SetRuler(const std::string& text);
void p_PrinterAutoUpdateProcess();

// A column ruler: "....!....1....!....2" and so on, with "L" and "R" at
// the ends when `margins` is set.
std::string rulerstring(int64_t width, bool fullNumbers, bool margins);
