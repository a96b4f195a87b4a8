// The work done when the application has finished launching.
#pragma once

// On the main thread: prints the launch lines, runs inittermkit, measures
// the title bar height and starts conversationmain on the program thread
// with a 1 GiB stack.
void launchwork();
