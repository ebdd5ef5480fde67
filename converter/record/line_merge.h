#pragma once

#include <optional>
#include <string>
#include <string_view>

// A three-way merge by lines, as a rerun brings what the project changed into
// a file the user edited: `base` is what the last run wrote, `edited` the
// user's file, `fresh` what this run writes. Where the two sets of changes
// lie apart (an unchanged line between them) the result holds both; where
// they meet, are too many, or a text ends without a line break, nothing (the
// caller keeps the user's file beside). Line ends are kept as they are. Linear in the lines for the usual
// few changes: each side is compared with the base by the O(ND) difference.
std::optional<std::string> mergeLines(std::string_view base, std::string_view edited, std::string_view fresh);
