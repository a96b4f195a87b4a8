// The character tables that inittermkit builds once at start-up.
#pragma once

#include <cstdint>

// Latin-1 upper-case and lower-case mappings of the home-computer character
// set (only a..z and the accented letters that have a partner in Latin-1).
extern uint8_t uppercasetable[256];
extern uint8_t lowercasetable[256];
// "0123456789ABCDEF".
extern uint8_t hexdigittable[16];
// Value of a hexadecimal digit character (either case); -1 for all others.
extern int64_t hexvaluetable[256];

// Builds the tables and seeds the C library's random generator; prints
// "inittermkit: Start." and "inittermkit: End.".
void inittermkit();
