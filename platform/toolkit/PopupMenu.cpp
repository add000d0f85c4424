#include "platform/toolkit/PopupMenu.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FAction(std::make_unique<QAction>())
{
    QObject::connect(FAction.get(), &QAction::triggered, FAction.get(), [this] {
        if (OnClick) InvokeHandler([this] { OnClick(this); });
    });
}

TMenuItem::~TMenuItem()
{
    if (FMenu) FMenu->Remove(this);
}

void TMenuItem::SetCaption(const AnsiString& caption)
{
    FCaption = caption;
    FAction->setText(ToQString(caption));  // Qt reads "&" as the mnemonic too
}

bool TMenuItem::Enabled() const
{
    return FAction->isEnabled();
}

void TMenuItem::SetEnabled(bool enabled)
{
    FAction->setEnabled(enabled);
}

void TMenuItem::Click()
{
    FAction->trigger();
}

// ---------------------------------------------------------------------------

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner) {}

TPopupMenu::~TPopupMenu()
{
    for (TMenuItem* item : FItems) item->FMenu = nullptr;
}

void TPopupMenu::Add(TMenuItem* item)
{
    if (!item || item->FMenu == this) return;
    if (item->FMenu) item->FMenu->Remove(item);
    item->FMenu = this;
    FItems.push_back(item);
    if (FMenu) FMenu->addAction(item->Action());
}

void TPopupMenu::Remove(TMenuItem* item)
{
    std::erase(FItems, item);
    item->FMenu = nullptr;
    if (FMenu) FMenu->removeAction(item->Action());
}

void TPopupMenu::Popup(int x, int y, bool fromKeyboard)
{
    // Made on first use, so that a menu can exist before the Qt application.
    if (!FMenu) {
        FMenu = std::make_unique<QMenu>();
        for (TMenuItem* item : FItems) FMenu->addAction(item->Action());
    }
    FMenu->popup(QPoint(x, y));
    if (!fromKeyboard) return;
    for (TMenuItem* item : FItems)
        if (item->Enabled()) {
            FMenu->setActiveAction(item->Action());
            break;
        }
}
