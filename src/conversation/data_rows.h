// Data rows: comma-separated items written into the program as text rows
// and read back one item at a time, in the manner of DATA and READ.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

extern std::vector<std::string> datalist;
extern int64_t dataitemcount;
extern int64_t datareadposition;  // 1-based number of the next item

// The first item of `row` and the rest of the row after it.
std::pair<std::string, std::string> nextdataitem(const std::string& row);
void adddata(const std::string& row);
std::string readdata();
void restoredata();
