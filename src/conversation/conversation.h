// The conversation: Sprecho's main function and its log.
#pragma once

#include <string>

#include "conversation/log_file.h"

// The log file of the conversation; written by logappend once it is open.
extern LogFile conversationlog;

void conversationmain();
// Appends to the log: to its file, then to the printer's text.
void logappend(const std::string& text);
void sayline(const std::string& text);
// The program's menu handler for the conversation begun on `date`
// ("07.12.2026"): the choices without a built-in command, of which it
// answers "Protokoll sichern …".
void menuchoice(const std::string& date);
void ctrlcreaction();
