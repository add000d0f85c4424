#pragma once
// Gathers typed characters into a search text the way the platform's list
// does: a character that arrives within the keyboard input interval of the
// previous one extends the text, a later one starts a new text. Times are
// passed in (milliseconds on any monotonic clock) so the rule can be checked
// without waiting.

#include "platform/base/SysUtils.h"

#include <cstdint>

class TypeAheadKeys {
public:
    explicit TypeAheadKeys(int intervalMs) : FInterval(intervalMs) {}

    // Adds the typed text (one character, UTF-8) at time nowMs; returns true
    // when it extended a burst in progress, false when it started a new one.
    bool Add(const AnsiString& typed, std::int64_t nowMs);
    const AnsiString& Text() const { return FText; }
    void SetInterval(int intervalMs) { FInterval = intervalMs; }
    // Forgets the text: the next character starts a new burst.
    void Reset() { FText.clear(); }

private:
    int FInterval;
    AnsiString FText;
    std::int64_t FLast = 0;
};
