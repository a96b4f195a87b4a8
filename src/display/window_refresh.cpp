// STUB: placeholder definitions so that everything links while this
// module is being written. Replace every one of them.
#include "display/window_refresh.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

relaxed<bool> refreshrunning;
void t_WindowAutoUpdateProcess() {}
void t_WindowUpdate(uint8_t window, bool deferred) {}
bool viewwantsupdatelayer(uint8_t window) { return {}; }
std::shared_ptr<WindowImage> viewbegindraw(uint8_t window) { return {}; }
void viewenddraw(uint8_t window) {}
