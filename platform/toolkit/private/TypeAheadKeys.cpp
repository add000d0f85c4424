#include "platform/toolkit/private/TypeAheadKeys.h"

bool TypeAheadKeys::Add(const AnsiString& typed, std::int64_t nowMs)
{
    const bool extends = !FText.empty() && nowMs - FLast >= 0 && nowMs - FLast <= FInterval;
    if (!extends) FText.clear();
    FText += typed;
    FLast = nowMs;
    return extends;
}
