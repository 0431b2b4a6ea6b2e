// The user's date and time separators, read once from the thread locale.
#pragma once

#include <string>

std::string DateSeparator();
std::string TimeSeparator();
