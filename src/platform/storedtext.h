#pragma once
// The text files the program keeps (the list files, Trovik.ini, vp2.qdx) as
// they lie on disk. Every file written before names could be in any script
// is in the ANSI code page without a byte-order mark, and is read that way.
// A file is written the same way, byte for byte, while all its text fits the
// code page; one that holds a character the code page lacks is written as
// UTF-8 behind a byte-order mark, and read back as UTF-8. Inside, text is
// UTF-8 either way.
#include <string>
#include <string_view>

#include "platform/filesystem.h"

namespace trovik {

inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The text of a file's bytes. Throws IoError (a read of path) for a file
// that says it is UTF-8 and is not: guessing would change its names.
std::string storedText(const FileSystem& fs, std::string bytes, const std::string& path);
// The whole file at path as text. Throws IoError.
std::string readStoredText(const FileSystem& fs, const std::string& path);
// The bytes to write for text.
std::string storedBytes(const FileSystem& fs, std::string text);

// True when every byte is ASCII, the same in every code page.
bool isAscii(std::string_view text);
// True when text is well-formed UTF-8: no stray or missing continuation
// bytes, no overlong forms, no surrogate halves, nothing above U+10FFFF.
bool isUtf8(std::string_view text);

}  // namespace trovik
