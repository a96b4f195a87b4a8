// STUB: placeholder definitions so that everything links while this
// module is being written. Replace every one of them.
#include "startup/threads.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

void startprocess(t_Function function, int64_t stacksize) {}
void startbackgroundtask(t_Function function) {}
int64_t threadnumber() { return {}; }
void markmainthread() {}
void namethread(const std::string& name) {}
bool endcurrentthread() { return {}; }
