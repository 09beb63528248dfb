// Lists of numbers given to one option, such as --positions 0,0.3,0.9.
#pragma once

#include <string>
#include <vector>

// "a,b,c" as numbers; false on an empty or malformed item.
bool numberList(const std::string& text, std::vector<double>& out);
