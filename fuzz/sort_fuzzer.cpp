// The fuzz target of a folder's order: the input is a listing of names, one
// a line (a line starting with '/' is a folder), in the order a folder would
// hand them out. The sort must put them exactly where the comparison does:
// folders first, each side in CompareNatural order, every name kept once;
// and the comparison told how far each name may be read must agree.

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
    // The window checks the order again, reading each name as far as its
    // length, which the ids know: it must find every neighbour in order.
    for (size_t i = 1; i < listed.size(); ++i) {
        if (listed[i - 1].folder != listed[i].folder) continue;
        const char* before = block.data() + listed[i - 1].offset;
        const char* after = block.data() + listed[i].offset;
        if (CompareNatural(before, listed[i - 1].length + size_t{1}, after,
                           listed[i].length + size_t{1}) >= 0) {
            std::fprintf(stderr, "told their lengths, [%s] is not before [%s]\n", before, after);
            std::abort();
        }
    }
    return 0;
}
