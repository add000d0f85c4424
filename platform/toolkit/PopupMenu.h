#pragma once
// Pop-up menus. A control given a menu with SetPopupMenu shows it when the
// user asks for a context menu.

#include "platform/toolkit/Controls.h"

#include <memory>

class QAction;
class QMenu;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    // "&" marks the mnemonic ("&Large Icons").
    AnsiString Caption() const { return FCaption; }
    void SetCaption(const AnsiString& caption);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    // As the user choosing the entry: raises OnClick.
    void Click();

    TNotifyEvent OnClick;

    QAction* Action() const { return FAction.get(); }

private:
    friend class TPopupMenu;
    AnsiString FCaption;
    std::unique_ptr<QAction> FAction;
    TPopupMenu* FMenu = nullptr;
};

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    // Appends item (not owned; its owner destroys it).
    void Add(TMenuItem* item);
    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int index) const { return FItems.at(static_cast<size_t>(index)); }
    // Shows the menu at (x, y) in screen coordinates without blocking. From
    // the keyboard its first enabled entry is made current, so that readers
    // announce it with the menu and arrows move from there.
    void Popup(int x, int y, bool fromKeyboard = false);

    QMenu* Menu() const { return FMenu.get(); }

private:
    friend class TMenuItem;
    void Remove(TMenuItem* item);

    std::vector<TMenuItem*> FItems;
    std::unique_ptr<QMenu> FMenu;
};
