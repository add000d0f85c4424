// The fuzz target of a folder's order: the input is a listing of names, one
// a line (a line starting with '/' is a folder), in the order a folder would
// hand them out. The sort must put them exactly where the comparison does:
// folders first, each side in CompareNatural order, every name kept once.

#include "platform/shell/private/FolderOrder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    // The first byte picks how far down the second thread shares the work.
    const std::ptrdiff_t sharedFrom = data[0] & 1 ? 2 + (data[0] >> 1) : kSortSharedFrom;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

    struct Name {
        std::string bytes;
        bool folder;
    };
    std::vector<Name> names;
    std::set<std::string> seen;
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        const bool folder = !line.empty() && line[0] == '/';
        if (folder) line.erase(0, 1);
        // A file name: no zero, no '/', at most 255 bytes, listed once.
        line.erase(
            std::remove_if(line.begin(), line.end(), [](char c) { return c == 0 || c == '/'; }),
            line.end());
        if (line.size() > 255) line.resize(255);
        if (line.empty() || line == "." || line == ".." || !seen.insert(line).second) continue;
        names.push_back({line, folder});
    }

    std::string block;
    std::vector<ListedEntry> listed;
    for (const Name& name : names) {
        listed.push_back(ListName(name.bytes.c_str(), name.bytes.size(),
                                  static_cast<std::uint32_t>(block.size()), name.folder));
        block.append(name.bytes.c_str(), name.bytes.size() + 1);
    }
    SortListed(listed.data(), listed.data() + listed.size(), block.data(), sharedFrom);

    std::vector<Name> expected = names;
    std::sort(expected.begin(), expected.end(), [](const Name& a, const Name& b) {
        if (a.folder != b.folder) return a.folder;
        return CompareNatural(a.bytes.c_str(), b.bytes.c_str()) < 0;
    });
    for (size_t i = 0; i < listed.size(); ++i) {
        const char* got = block.data() + listed[i].offset;
        if (expected[i].bytes != got || expected[i].folder != listed[i].folder) {
            std::fprintf(stderr, "place %zu: expected [%s], got [%s]\n", i,
                         expected[i].bytes.c_str(), got);
            std::abort();
        }
    }
    return 0;
}
