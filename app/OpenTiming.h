#pragma once
// What a person waits for when a folder opens, for bench/open_folder.sh to
// read from the real program: with QUILLET_TIME_OPEN set in the environment,
// the time from the key that starts an open (Enter in the path box, F5) to
// the end of the file list's first paint after the open, on standard error:
//
//   quillet-open: 812.4 ms from the key to the first row painted, 1000000 rows
//
// Without the variable these calls test a flag and do nothing else.

class TListView;

namespace OpenTiming {

// The key that starts an open was pressed.
void Started();
// The open is complete: the list's next paint ends the time started last.
void Opened(TListView* list);

}  // namespace OpenTiming
