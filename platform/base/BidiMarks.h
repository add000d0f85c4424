#pragma once
// Names shown as they are. A bidirectional control character in a name
// reorders the text around it when the name is drawn: "photo" RLO "gpj.exe"
// reads "photoexe.jpg". Where a name is shown, each such character is shown
// as a visible mark instead, its usual abbreviation between single angle
// quotation marks ("photo‹RLO›gpj.exe"), which reorders nothing. Only the
// shown text changes; the name's bytes stay as they are for opening,
// comparing and type-ahead.

#include "platform/base/SysUtils.h"

// text (in the system code page) with every bidirectional control character
// (U+202A-U+202E, U+2066-U+2069, U+200E, U+200F, U+061C) replaced by its
// mark; any other byte, valid UTF-8 or not, is kept.
AnsiString VisibleBidiControls(const AnsiString& text);
