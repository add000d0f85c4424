#include "listview/RowText.h"

#include <cstdint>
#include <limits>

AnsiString SizeText(int sizeKB)
{
    return Format("%dKB", sizeKB);
}

AnsiString AttributeLetters(DWORD attributes)
{
    static constexpr struct {
        DWORD bit;
        char letter;
    } letters[] = {
        {FILE_ATTRIBUTE_READONLY, 'R'},
        {FILE_ATTRIBUTE_HIDDEN, 'H'},
        {FILE_ATTRIBUTE_SYSTEM, 'S'},
        {FILE_ATTRIBUTE_ARCHIVE, 'A'},
    };
    AnsiString text;
    for (const auto& entry : letters) {
        if (attributes & entry.bit) text += entry.letter;
    }
    return text;
}

int SizeKBFromFindData(DWORD sizeHigh, DWORD sizeLow)
{
    const std::uint64_t bytes = (std::uint64_t{sizeHigh} << 32) | sizeLow;
    const std::uint64_t kb = bytes / 1000;
    constexpr std::uint64_t largest = std::numeric_limits<std::int32_t>::max();
    if (kb == 0) return 1;
    return static_cast<int>(kb > largest ? largest : kb);
}

AnsiString FileTimeText(const FILETIME& lastWrite)
{
    if (lastWrite.dwLowDateTime == 0 && lastWrite.dwHighDateTime == 0) return {};
    FILETIME local{};
    SYSTEMTIME calendar{};
    if (!FileTimeToLocalFileTime(&lastWrite, &local)) return {};
    if (!FileTimeToSystemTime(&local, &calendar)) return {};
    try {
        return DateTimeToStr(SystemTimeToDateTime(calendar));
    } catch (const EConvertError&) {
        return {};
    }
}
