#include "platform/base/BidiMarks.h"

#include <algorithm>
#include <string_view>

namespace {

struct Control {
    std::string_view bytes;  // the character in UTF-8
    std::string_view mark;
};

constexpr Control kControls[] = {
    {"\u202A", "\u2039LRE\u203A"}, {"\u202B", "\u2039RLE\u203A"}, {"\u202C", "\u2039PDF\u203A"},
    {"\u202D", "\u2039LRO\u203A"}, {"\u202E", "\u2039RLO\u203A"}, {"\u2066", "\u2039LRI\u203A"},
    {"\u2067", "\u2039RLI\u203A"}, {"\u2068", "\u2039FSI\u203A"}, {"\u2069", "\u2039PDI\u203A"},
    {"\u200E", "\u2039LRM\u203A"}, {"\u200F", "\u2039RLM\u203A"}, {"\u061C", "\u2039ALM\u203A"},
};

// Each control starts with one of these bytes; most names hold none.
bool mayStartControl(char c)
{
    return c == '\xE2' || c == '\xD8';
}

}  // namespace

AnsiString VisibleBidiControls(const AnsiString& text)
{
    if (std::none_of(text.begin(), text.end(), mayStartControl)) return text;
    AnsiString shown;
    shown.reserve(text.size() + 8);
    const std::string_view rest(text);
    for (size_t at = 0; at < rest.size();) {
        const Control* found = nullptr;
        if (mayStartControl(rest[at])) {
            for (const Control& control : kControls)
                if (rest.substr(at, control.bytes.size()) == control.bytes) found = &control;
        }
        if (found) {
            shown.append(found->mark);
            at += found->bytes.size();
        } else {
            shown.push_back(rest[at++]);
        }
    }
    return shown;
}
