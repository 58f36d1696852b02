#pragma once
// What the main list sorts by, and the order that gives. The keys come from
// the entry routines (so an extension that rewrites them changes the sort as
// well); each item's key is worked out once and the order found by a stable
// sort, which puts the items exactly where inserting them one by one, each in
// front of the first item that sorts after it, would.
#include <string>
#include <string_view>
#include <vector>

#include "core/entry.h"
#include "core/variables.h"

namespace trovik {

// The four keys, numbered as the options file remembers the chosen one.
enum class SortKey { LinkName = 1, FileName = 2, FilePath = 3, FileType = 4 };

// The drive of a text: "C:" of "C:\x", "\\server\share" of "\\server\share\x",
// the empty text for anything else.
std::string driveOf(std::string_view s);

// The target a link sorts by: a multirun's first member as the Add/Edit
// dialog lists it (no "+f", no run mode), a single entry as it is; then
// without parameters and run mode.
std::string sortTarget(const std::string& link, EntrySyntax& syntax, const Variables& vars);

// The text an item with this name and link sorts by.
std::string sortKeyOf(SortKey key, const std::string& name, const std::string& link,
                      EntrySyntax& syntax, const Variables& vars);

// The positions of the items in sorted order. Keys compare with only A to Z
// lowered, byte by byte, a text before any longer text it starts; equal keys
// keep their order in either direction.
std::vector<int> sortedOrder(std::vector<std::string> keys, bool descending);

}  // namespace trovik
