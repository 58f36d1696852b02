#pragma once
// Windows path rules as pure functions: UTF-8 text, backslashes, drive
// letters, names compared by their lower-case forms.
#include <string>
#include <string_view>

namespace trovik {

// Lower case of the letters A to Z only, as ANSI text comparison does for paths.
std::string lower(std::string_view s);
bool sameText(std::string_view a, std::string_view b);  // ignoring case
bool startsWith(std::string_view s, std::string_view prefix);
bool endsWith(std::string_view s, std::string_view suffix);

// How long Windows counts a text: its UTF-16 units (two for a character
// beyond the Basic Multilingual Plane, such as an emoji).
std::size_t utf16Length(std::string_view text);
// The longest start of text that is whole characters and at most maxUnits
// UTF-16 units long: a cut never splits a character.
std::string_view textPrefix(std::string_view text, std::size_t maxUnits);

// Adds a trailing backslash unless there is one.
std::string withBackslash(std::string_view dir);
// The text after the last "\" or ":" (the whole text when there is none).
std::string fileNamePart(std::string_view path);
// The extension: from the last "." after the last "\" or ":", dot included; empty when none.
std::string fileExtension(std::string_view path);
// The path without its extension.
std::string withoutExtension(std::string_view path);
// The directory part: everything up to and including the last "\" or ":".
std::string directoryPart(std::string_view path);

}  // namespace trovik
