#pragma once
// The installed-extension file vp2.qdx and its records: one block per
// extension, a record line "dll|name|options|about|reserved|event|when|..."
// followed by description lines, each block ended by an empty line.
#include <string>
#include <string_view>
#include <vector>

namespace trovik {

inline constexpr std::string_view kExtensionFile = "vp2.qdx";
// Where removal writes the new list before it replaces vp2.qdx.
inline constexpr std::string_view kExtensionScratchFile = "trovik+1.qdx";

// The lines of vp2.qdx or of an extension's text file. Unlike the link files
// they do not end at a NUL byte: it stays in its line, so rewriting the file
// loses nothing.
std::vector<std::string> extensionLines(std::string_view bytes);

// The fields of a record line, split at every "|".
std::vector<std::string_view> recordFields(std::string_view line);
// Field n (1-based) of a record line, empty when it has fewer. A line without
// "|" is one field: its DLL path and its name are then the whole line.
std::string_view recordField(std::string_view line, size_t n);

// The blocks of the file: block k starts at the first line after the k-th
// empty line and runs up to and including the next empty line. A block whose
// record line is itself empty is that line alone, so a stray empty line is a
// block of its own that can be seen and removed.
struct Block {
  size_t first = 0;  // index of the record line
  size_t end = 0;    // one past the last line (its ending empty line, when it has one)
};
std::vector<Block> fileBlocks(const std::vector<std::string>& lines);

// The lines of the file without block k (the lines are kept when there is none).
std::vector<std::string> withoutBlock(const std::vector<std::string>& lines, size_t k);

}  // namespace trovik
