// Wide strings live in the shell allocator, so a string handed out in a
// STRRET and one made here are freed the same way.

#include "platform/shell/private/ShellInternals.h"

#include <cstring>

LPOLESTR StringToOleStr(const AnsiString& text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0) return nullptr;
    auto* wide = static_cast<LPOLESTR>(ShellAlloc(static_cast<size_t>(length) * sizeof(WCHAR)));
    if (!wide) return nullptr;
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, length);
    return wide;
}

void SysFreeString(LPOLESTR text)
{
    ShellFree(text);
}
