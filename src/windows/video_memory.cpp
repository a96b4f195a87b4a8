// STUB: placeholder definitions so that everything links while this
// module is being written. Replace every one of them.
#include "windows/video_memory.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

uint8_t videomemory[videomemorysize];
int64_t highmemory;
void t_InitMemory() {}
void t_InitWindow(uint8_t window, int64_t bitDepth, int64_t columns, int64_t lines, int64_t border, const std::string& fontName) {}
void t_InitWindow(uint8_t window, int64_t bitDepth, bool autoUpdate, int64_t width, int64_t height, int64_t borderWidth, int64_t borderHeight, const t_Font& font, bool titleVisible) {}
void movevideomemory(int64_t source, int64_t destination, int64_t count) {}
std::string memoryindextext(int64_t value) { return {}; }
std::string kilobytetext(int64_t bytes) { return {}; }
