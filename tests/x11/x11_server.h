// The X server of the x11 tests.
#pragma once

#include <string>

// Why the tests have no X server (empty when they have one).
extern std::string xserverproblem;
