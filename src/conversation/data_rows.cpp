// STUB: placeholder definitions so that everything links while this
// module is being written. Replace every one of them.
#include "conversation/data_rows.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

std::vector<std::string> datalist;
int64_t dataitemcount;
int64_t datareadposition;
std::pair<std::string, std::string> nextdataitem(const std::string& row) { return {}; }
void adddata(const std::string& row) {}
std::string readdata() { return {}; }
void restoredata() {}
