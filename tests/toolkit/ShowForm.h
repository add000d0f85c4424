#pragma once
// Shows a form on the test platform and lets it settle, without sleeping.

#include "platform/toolkit/Forms.h"

#include <QWindow>

inline bool ShowForm(TForm& form)
{
    form.Show();
    for (int i = 0; i < 200; ++i) {
        Application->ProcessMessages();
        QWindow* window = form.Widget()->windowHandle();
        if (window && window->isExposed()) return true;
    }
    return false;
}
