#include "platform/toolkit/PageControl.h"

#include <QTabWidget>

#include <algorithm>

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner, new QTabWidget)
{
    QObject::connect(Tabs(), &QTabWidget::currentChanged, Tabs(), [this](int) {
        if (OnChange) InvokeHandler([this] { OnChange(this); });
    });
}

TPageControl::~TPageControl()
{
    for (TTabSheet* page : FPages) page->FPageControl = nullptr;
}

QTabWidget* TPageControl::Tabs() const
{
    return static_cast<QTabWidget*>(Widget());
}

TTabSheet* TPageControl::ActivePage() const
{
    if (!Tabs()) return nullptr;
    QWidget* current = Tabs()->currentWidget();
    for (TTabSheet* page : FPages)
        if (page->Widget() == current) return page;
    return nullptr;
}

void TPageControl::SetActivePage(TTabSheet* page)
{
    if (Tabs() && page && page->FPageControl == this) Tabs()->setCurrentWidget(page->Widget());
}

void TPageControl::InsertPage(TTabSheet* page)
{
    FPages.push_back(page);
    if (Tabs() && page->Widget()) Tabs()->addTab(page->Widget(), ToQString(page->GetText()));
}

void TPageControl::RemovePage(TTabSheet* page)
{
    std::erase(FPages, page);
    if (!Tabs() || !page->Widget()) return;
    const int index = Tabs()->indexOf(page->Widget());
    if (index >= 0) Tabs()->removeTab(index);
    page->Widget()->setParent(nullptr);
}

// ---------------------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner, new QWidget) {}

TTabSheet::~TTabSheet()
{
    if (FPageControl) std::erase(FPageControl->FPages, this);
}

void TTabSheet::SetPageControl(TPageControl* pageControl)
{
    if (pageControl == FPageControl) return;
    if (FPageControl) FPageControl->RemovePage(this);
    FPageControl = pageControl;
    if (FPageControl) FPageControl->InsertPage(this);
}

void TTabSheet::SetParent(TWinControl* parent)
{
    if (auto* pageControl = dynamic_cast<TPageControl*>(parent))
        SetPageControl(pageControl);
    else
        TWinControl::SetParent(parent);
}

void TTabSheet::SetText(const AnsiString& text)
{
    TWinControl::SetText(text);
    const int index = PageIndex();
    if (index >= 0) FPageControl->Tabs()->setTabText(index, ToQString(text));
}

int TTabSheet::PageIndex() const
{
    if (!FPageControl || !FPageControl->Tabs() || !Widget()) return -1;
    return FPageControl->Tabs()->indexOf(Widget());
}
