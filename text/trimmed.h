// Blanks and tabs around a text, as the program's fields and file lines carry them.
#pragma once

#include <string_view>

namespace tarvo::text {

// `text` without the blanks and tabs before and after it (empty when it holds nothing else).
std::string_view Trimmed(std::string_view text);

}  // namespace tarvo::text
