#pragma once
// A name, or a text that holds names, as it is shown: bidirectional controls
// as visible marks (platform/base/BidiMarks.h). Not for a text read back.

#include "platform/base/BidiMarks.h"
#include "platform/toolkit/Controls.h"

inline QString ToShownQString(const AnsiString& text)
{
    return ToQString(VisibleBidiControls(text));
}
