#include "record/line_merge.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace {

using Lines = std::vector<std::string_view>;

// Each line with its line break; a text that does not end with one is left
// to the caller.
Lines linesOf(std::string_view text)
{
    Lines lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
        lines.push_back(text.substr(0, length));
        text.remove_prefix(length);
    }
    return lines;
}

// One change of a side against the base: base lines [from, to) become
// `lines` of that side, [sideFrom, sideTo).
struct Change {
    std::size_t from;
    std::size_t to;
    std::size_t sideFrom;
    std::size_t sideTo;
};

// Beyond this many lines taken out or put in, the texts are too far apart to
// be worth merging: the work and the memory grow with its square.
constexpr std::ptrdiff_t maxEdits = 1024;

// The changes that turn `base` into `side`, in order: Myers' greedy
// algorithm, keeping after each step d the furthest points of the diagonals
// -d..d, then tracing the path back. Nothing when they are too far apart.
std::optional<std::vector<Change>> changesOf(const Lines& base, const Lines& side)
{
    const auto n = static_cast<std::ptrdiff_t>(base.size());
    const auto m = static_cast<std::ptrdiff_t>(side.size());
    // rounds[d][k + d]: how far along the base diagonal k reaches in d steps.
    std::vector<std::vector<std::ptrdiff_t>> rounds;
    const auto reached = [&](std::ptrdiff_t d, std::ptrdiff_t k) {
        return rounds[static_cast<std::size_t>(d)][static_cast<std::size_t>(k + d)];
    };
    // Whether step d onto diagonal k came down from diagonal k + 1 (a line
    // put in) rather than across from k - 1 (a line taken out).
    const auto fromAbove = [&](std::ptrdiff_t d, std::ptrdiff_t k) {
        return k == -d || (k != d && reached(d - 1, k - 1) < reached(d - 1, k + 1));
    };
    for (std::ptrdiff_t d = 0;; ++d) {
        if (d > maxEdits) {
            return std::nullopt;
        }
        rounds.emplace_back(static_cast<std::size_t>(2 * d + 1));
        for (std::ptrdiff_t k = -d; k <= d; k += 2) {
            std::ptrdiff_t x = d == 0 ? 0 : fromAbove(d, k) ? reached(d - 1, k + 1) : reached(d - 1, k - 1) + 1;
            std::ptrdiff_t y = x - k;
            while (x < n && y < m && base[static_cast<std::size_t>(x)] == side[static_cast<std::size_t>(y)]) {
                ++x;
                ++y;
            }
            rounds.back()[static_cast<std::size_t>(k + d)] = x;
            if (x < n || y < m) {
                continue;
            }
            std::vector<Change> changes;
            for (std::ptrdiff_t step = d, endX = n, endY = m; step > 0; --step) {
                const std::ptrdiff_t diagonal = endX - endY;
                const bool putIn = fromAbove(step, diagonal);
                const std::ptrdiff_t startX = reached(step - 1, putIn ? diagonal + 1 : diagonal - 1);
                const std::ptrdiff_t startY = startX - (putIn ? diagonal + 1 : diagonal - 1);
                const auto from = static_cast<std::size_t>(startX);
                const auto sideFrom = static_cast<std::size_t>(startY);
                const Change change{from, putIn ? from : from + 1, sideFrom, putIn ? sideFrom + 1 : sideFrom};
                // Traced backwards: a change that ends where this one begins joins it.
                if (!changes.empty() && changes.back().from == change.to && changes.back().sideFrom == change.sideTo) {
                    changes.back().from = change.from;
                    changes.back().sideFrom = change.sideFrom;
                } else {
                    changes.push_back(change);
                }
                endX = startX;
                endY = startY;
            }
            std::reverse(changes.begin(), changes.end());
            return changes;
        }
    }
}

} // namespace

std::optional<std::string> mergeLines(std::string_view base, std::string_view edited, std::string_view fresh)
{
    for (const std::string_view text : {base, edited, fresh}) {
        if (!text.empty() && text.back() != '\n') {
            return std::nullopt;
        }
    }
    const Lines baseLines = linesOf(base);
    const Lines editedLines = linesOf(edited);
    const Lines freshLines = linesOf(fresh);
    const std::optional<std::vector<Change>> oursFound = changesOf(baseLines, editedLines);
    const std::optional<std::vector<Change>> theirsFound = changesOf(baseLines, freshLines);
    if (!oursFound || !theirsFound) {
        return std::nullopt;
    }
    const std::vector<Change>& ours = *oursFound;
    const std::vector<Change>& theirs = *theirsFound;
    std::string merged;
    merged.reserve(std::max(edited.size(), fresh.size()));
    std::size_t copied = 0;
    const auto copyBase = [&](std::size_t upTo) {
        for (; copied < upTo; ++copied) {
            merged += baseLines[copied];
        }
    };
    const auto apply = [&](const Change& change, const Lines& side) {
        copyBase(change.from);
        for (std::size_t i = change.sideFrom; i < change.sideTo; ++i) {
            merged += side[i];
        }
        copied = change.to;
    };
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < ours.size() || j < theirs.size()) {
        // Changes apart by at least one line that neither side changed.
        if (j == theirs.size() || (i < ours.size() && ours[i].to < theirs[j].from)) {
            apply(ours[i++], editedLines);
        } else if (i == ours.size() || theirs[j].to < ours[i].from) {
            apply(theirs[j++], freshLines);
        } else {
            // Changes that meet: the same change made on both sides is one.
            const Change& a = ours[i];
            const Change& b = theirs[j];
            if (a.from != b.from || a.to != b.to ||
                !std::equal(editedLines.begin() + static_cast<std::ptrdiff_t>(a.sideFrom),
                            editedLines.begin() + static_cast<std::ptrdiff_t>(a.sideTo),
                            freshLines.begin() + static_cast<std::ptrdiff_t>(b.sideFrom),
                            freshLines.begin() + static_cast<std::ptrdiff_t>(b.sideTo))) {
                return std::nullopt;
            }
            apply(a, editedLines);
            ++i;
            ++j;
        }
    }
    copyBase(baseLines.size());
    return merged;
}
