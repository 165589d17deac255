// Reading the phone simulator's byte log.
#pragma once

#include <string>

// Lines of the log with bytes the program sent ("PC> ") that show the text in their
// printable column.
int LinesFromPc(const std::string& log, const std::string& text);
