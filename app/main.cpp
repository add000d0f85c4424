// Quillet: a folder browser with a thumbnail gallery.

#include <QApplication>
#include <QIcon>

#include "app/Quillet.h"

namespace {

// Every window carries the program's icon, at the sizes the desktop installs
// (compiled in from packaging/icons). The desktop file name lets a Wayland
// compositor match the windows to the launcher.
void SetApplicationIcon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1x%1/apps/" QUILLET_APP_ID ".png").arg(size));
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLET_APP_ID));
}

}  // namespace

int main()
{
    try {
        Application->Initialize();
        SetApplicationIcon();
        Application->CreateForm(frmQuillet);
        Application->Run();
    } catch (const Exception& e) {
        Application->ShowException(&e);
    }
    Application->DestroyComponents();
    return 0;
}
