#pragma once
// Lines of the program's text files: read at CR LF, a lone LF or a lone CR,
// written with CR LF after every line.
#include <string>
#include <string_view>
#include <vector>

namespace trovik {

// What a NUL byte is: the list files end at the first one, every other text
// file keeps it as a character like any other.
enum class Nul { EndsText, IsText };

// Splits text into lines. A line end at the very end gives no extra empty line.
std::vector<std::string> splitLines(std::string_view text, Nul nul = Nul::EndsText);
// splitLines into lines, whose strings take the new lines in their own storage
// (a list read again allocates next to nothing).
void splitLinesInto(std::string_view text, std::vector<std::string>& lines,
                    Nul nul = Nul::EndsText);
// How many lines splitLines would give, without making them.
std::size_t countLines(std::string_view text, Nul nul = Nul::EndsText);
// Every line followed by CR LF; an empty list is an empty text.
std::string joinLines(const std::vector<std::string>& lines);

}  // namespace trovik
