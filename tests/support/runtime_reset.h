// One reset of the runtime's process-wide state, for tests only: every test
// program runs it before each test (see installruntimereset), so a test
// finds the runtime as a fresh process has it, whatever ran before it in
// the same process and in whatever order.
//
// What it puts back: the service threads stopped (refresh, printer), every
// platform window hidden and back where it started, the text views emptied;
// the window table, video memory (zeros) and the memory flags as before
// t_InitMemory, the title bar height as measured when the test program
// started; the key, mouse and menu queues empty with their flags and
// handlers as at start; the menu action table, the printer buffers, the
// data rows and the answer table empty. The character tables exist from the start and are left as
// they are. What it cannot put back: thread numbers keep counting, and a
// program thread that a failed test left waiting keeps waiting.
#pragma once

void resetruntime();

// Registers resetruntime to run before every test of the program; call it
// once the desktop (if any) is up.
void installruntimereset();
