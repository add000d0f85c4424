#include "listview/TypeAhead.h"

namespace {
char foldAsciiLower(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
}  // namespace

bool StartsWithFolded(std::string_view name, std::string_view prefix)
{
    if (prefix.empty() || prefix.size() > name.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (foldAsciiLower(name[i]) != foldAsciiLower(prefix[i])) return false;
    }
    return true;
}

int FindItemByPrefix(TItemFind kind, const AnsiString& text, int start, bool wrap, int count,
                     const RowNameAccessor& nameAt)
{
    if (kind != ifPartialString && kind != ifExactString) return -1;
    if (count <= 0 || text.empty()) return -1;
    if (start < 0 || start >= count) {
        if (!wrap) return -1;
        start = 0;
    }
    int i = start;
    do {
        if (StartsWithFolded(nameAt(i), text)) return i;
        if (++i == count) {
            if (!wrap) return -1;
            i = 0;
        }
    } while (i != start);
    return -1;
}
