#pragma once
// The page control: tabbed pages (a QTabWidget); each page is a TTabSheet.

#include "platform/toolkit/Controls.h"

class QTabWidget;
class TTabSheet;

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;

    TTabSheet* ActivePage() const;
    void SetActivePage(TTabSheet* page);
    int PageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int index) const { return FPages.at(static_cast<size_t>(index)); }

    TNotifyEvent OnChange;

private:
    friend class TTabSheet;
    QTabWidget* Tabs() const;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);

    std::vector<TTabSheet*> FPages;
};

// One page; its caption (SetText) is the tab's text.
class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return FPageControl; }
    // Adds the page as the last tab of pageControl (null removes it).
    void SetPageControl(TPageControl* pageControl);
    // A page control parent is the same as SetPageControl.
    void SetParent(TWinControl* parent) override;
    void SetText(const AnsiString& text) override;
    int PageIndex() const;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
};
