// Sprecho's answer table and how a typed line is classified and answered.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Our own notice line for the header and the "COPYRIGHT" row: 30
// characters, ending in two blanks.
extern const char* const noticeline;

// Element 0 is the default row ("*"); 1..answercount the keyword rows.
extern std::vector<std::string> keywords;
extern std::vector<std::string> answers;
extern int64_t answercount;

// The table's 67 data rows in order, as readanswertable adds them: keyword,
// comma, blanks up to column 23, the answer quoted from column 24 on.
std::vector<std::string> answerrows();
void readanswertable();

enum class LineKind { Empty, Interrupt, End, Ordinary };
// Classifies an upper-cased line.
LineKind classifyline(const std::string& upper);
// Full Unicode upper-casing of a typed line.
std::string uppercaseline(const std::string& line);
// The reply to an upper-cased ordinary line.
std::string choosereply(const std::string& line);
