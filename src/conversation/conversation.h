// The conversation: Sprecho's main function and its log.
#pragma once

#include <string>

void conversationmain();
void logappend(const std::string& text);
void sayline(const std::string& text);
void ctrlcreaction();
