// System colours from the running application's palette, so drawing follows
// the desktop's theme; fixed defaults when no GUI application exists.

#include "platform/base/Windows.h"

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

namespace {

DWORD colorRef(const QColor& c)
{
    return static_cast<DWORD>(c.red()) | (static_cast<DWORD>(c.green()) << 8) |
           (static_cast<DWORD>(c.blue()) << 16);
}

DWORD defaultColor(int index)
{
    switch (index) {
    case COLOR_WINDOW: return 0x00FFFFFF;
    case COLOR_WINDOWTEXT: return 0x00000000;
    case COLOR_APPWORKSPACE: return 0x00ABABAB;
    case COLOR_HIGHLIGHT: return 0x00D77800;
    case COLOR_BTNFACE: return 0x00F0F0F0;
    case COLOR_GRAYTEXT: return 0x006D6D6D;
    default: return 0;
    }
}

}  // namespace

DWORD GetSysColor(int index)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return defaultColor(index);
    const QPalette palette = QGuiApplication::palette();
    switch (index) {
    case COLOR_WINDOW: return colorRef(palette.color(QPalette::Base));
    case COLOR_WINDOWTEXT: return colorRef(palette.color(QPalette::Text));
    case COLOR_APPWORKSPACE: return colorRef(palette.color(QPalette::Mid));
    case COLOR_HIGHLIGHT: return colorRef(palette.color(QPalette::Highlight));
    case COLOR_BTNFACE: return colorRef(palette.color(QPalette::Button));
    case COLOR_GRAYTEXT: return colorRef(palette.color(QPalette::Disabled, QPalette::Text));
    default: return 0;
    }
}
