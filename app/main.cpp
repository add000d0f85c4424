// Quillet: a folder browser with a thumbnail gallery.

#include "app/Quillet.h"

int main()
{
    try {
        Application->Initialize();
        Application->CreateForm(frmQuillet);
        Application->Run();
    } catch (const Exception& e) {
        Application->ShowException(&e);
    }
    Application->DestroyComponents();
    return 0;
}
