// Text placed in HTML: the five characters with a meaning there escaped.
#pragma once

#include <string>

std::string htmlText(const std::string& text);
