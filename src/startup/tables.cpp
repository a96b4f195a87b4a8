// STUB: placeholder definitions so that everything links while this
// module is being written. Replace every one of them.
#include "startup/tables.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

uint8_t uppercasetable[256];
uint8_t lowercasetable[256];
uint8_t hexdigittable[16];
int64_t hexvaluetable[256];
void inittermkit() {}
