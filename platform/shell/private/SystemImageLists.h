#pragma once
// The system image lists: a small (16 px) and a large (32 px) list over one
// index space. An icon is added once per distinct theme icon name, the first
// time any item asks for it; pictures are made from the icon theme only when
// a view draws them. Index 0 is the generic file icon.

#include "platform/base/ImageListData.h"

#include <string>

namespace SystemImageLists {

HIMAGELIST Small();
HIMAGELIST Large();
// Index of the icon named name (the theme's name, with fallback used when
// the theme lacks it); adds it to both lists when it is new.
int IndexOf(const std::string& name, const std::string& fallback);
// The picture at index in the given pixel size; a null picture when there is
// no GUI application or the theme has nothing.
QPixmap Picture(int index, int size);

}  // namespace SystemImageLists
