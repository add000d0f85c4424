// What a large folder's order costs apart from its reading, for each pattern
// of names the open benchmarks use:
//
//   sort   the enumerator's sort of the listed names (two threads, as in an
//          open), the names in a shuffled order, as an indexed folder hands
//          them out;
//   check  the window's check that the list it got is in order: each name
//          compared with the one before by the first half of its key, then
//          by the full comparison told how far each name may be read, the
//          names laid one after another in the sorted order, as the ids are.
//
// Best and median of 7, in ms. The names are made in memory: no folder.
//
// Usage: sort_speed_bench [pattern regex] [entries]

#include "bench/NamePatterns.h"
#include "platform/shell/private/FolderOrder.h"
#include "platform/shell/private/NaturalOrder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <random>
#include <regex>
#include <string>
#include <vector>

namespace {

constexpr int kRuns = 7;

struct Figures {
    double best;
    double median;
};

Figures FiguresOf(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2]};
}

double MsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// The names laid one after another, each ended by a zero, and their entries.
struct Listing {
    std::string names;
    std::vector<ListedEntry> entries;
};

Listing ListingOf(const Pattern& pattern, int count)
{
    std::vector<int> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(1));
    Listing listing;
    listing.entries.reserve(order.size());
    for (const int i : order) {
        const std::string name = pattern.name(i);
        listing.entries.push_back(ListName(name.c_str(), name.size(),
                                           static_cast<std::uint32_t>(listing.names.size()),
                                           pattern.folder(i)));
        listing.names.append(name).push_back('\0');
    }
    return listing;
}

// The sorted names laid out as the ids hold them: one after another, each
// with the first half of its key and whether it is a folder.
struct Sorted {
    std::string names;
    std::vector<size_t> at;
    std::vector<std::uint64_t> key;
    std::vector<bool> folder;
};

Sorted SortedOf(const Listing& listing, const std::vector<ListedEntry>& entries)
{
    Sorted sorted;
    for (const ListedEntry& entry : entries) {
        sorted.at.push_back(sorted.names.size());
        sorted.key.push_back(entry.idKey);
        sorted.folder.push_back(entry.folder);
        sorted.names.append(listing.names, entry.offset, entry.length + size_t{1});
    }
    sorted.at.push_back(sorted.names.size());
    return sorted;
}

// How many names the check finds after one they come before: none, unless
// the sort is wrong.
long OutOfOrder(const Sorted& sorted)
{
    long wrong = 0;
    const char* names = sorted.names.data();
    for (size_t i = 1; i + 1 < sorted.at.size(); ++i) {
        int order = 0;
        if (sorted.folder[i - 1] != sorted.folder[i])
            order = sorted.folder[i - 1] ? -1 : 1;
        else if (sorted.key[i - 1] != sorted.key[i])
            order = sorted.key[i - 1] < sorted.key[i] ? -1 : 1;
        else
            order = CompareNatural(names + sorted.at[i - 1], sorted.at[i] - sorted.at[i - 1],
                                   names + sorted.at[i], sorted.at[i + 1] - sorted.at[i]);
        if (order > 0) ++wrong;
    }
    return wrong;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::regex filter(argc > 1 ? argv[1] : ".");
    const int count = argc > 2 ? std::atoi(argv[2]) : 1000000;
    if (count < 2) {
        std::fprintf(stderr, "usage: sort_speed_bench [pattern regex] [entries]\n");
        return 2;
    }
    std::printf("%-12s %9s %19s %19s\n", "pattern", "entries", "sort ms best/median",
                "check ms best/med");
    int status = 0;
    for (const Pattern& pattern : kPatterns) {
        if (!std::regex_search(pattern.key, filter)) continue;
        const Listing listing = ListingOf(pattern, count);
        std::vector<double> sorts, checks;
        for (int run = 0; run < kRuns; ++run) {
            std::vector<ListedEntry> entries = listing.entries;
            auto start = std::chrono::steady_clock::now();
            SortListed(entries.data(), entries.data() + entries.size(), listing.names.data());
            sorts.push_back(MsSince(start));
            const Sorted sorted = SortedOf(listing, entries);
            start = std::chrono::steady_clock::now();
            const long wrong = OutOfOrder(sorted);
            checks.push_back(MsSince(start));
            if (wrong != 0) {
                std::fprintf(stderr, "%s: %ld names out of order\n", pattern.key, wrong);
                status = 1;
            }
        }
        const Figures sort = FiguresOf(sorts), check = FiguresOf(checks);
        std::printf("%-12s %9d %9.1f / %7.1f %9.1f / %7.1f\n", pattern.key, count, sort.best,
                    sort.median, check.best, check.median);
    }
    return status;
}
