#include "app/ProgramIcon.h"

#include "app/ToolBarGlyphs.h"

#include <QGuiApplication>
#include <QPalette>

QIcon ProgramIcon()
{
    // Until the program has an icon of its own, the tool bar's open folder
    // stands for it.
    return ToolBarIcon(0, QGuiApplication::palette());
}
