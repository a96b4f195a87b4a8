// STUB: placeholder definitions so that everything links while this
// module is being written. Replace every one of them.
#include "menus/virtual_printer.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

std::mutex printerbufferlock;
std::vector<uint8_t> printeroutputbuffer;
std::vector<uint8_t> consoleoutputbuffer;
relaxed<bool> printerpending;
relaxed<int64_t> printerlastflush;
relaxed<bool> printerrunning;
void p_InitPrinter() {}
void p_SetPrinter(const std::string& text) {}
std::string p_GetPrinter() { return {}; }
void p_SetRuler(const std::string& text) {}
void p_PrinterAutoUpdateProcess() {}
std::string rulerstring(int64_t width, bool fullNumbers, bool margins) { return {}; }
