#pragma once
// Lines of the list files: read at CR LF, a lone LF or a lone CR, written with
// CR LF after every line.
#include <string>
#include <string_view>
#include <vector>

namespace trovik {

// Splits text into lines. A line end at the very end gives no extra empty
// line; a NUL byte ends the text.
std::vector<std::string> splitLines(std::string_view text);
// How many lines splitLines would give, without making them.
std::size_t countLines(std::string_view text);
// Every line followed by CR LF; an empty list is an empty text.
std::string joinLines(const std::vector<std::string>& lines);

}  // namespace trovik
