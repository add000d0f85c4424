#include "platform/toolkit/PageControl.h"

#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>

namespace {
// The stack of pages inside the tab widget would reach readers as a
// nameless layered pane; it is named by the page it shows.
void NameStack(QTabWidget* tabs)
{
    auto* stack = tabs->findChild<QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly);
    if (stack) stack->setAccessibleName(tabs->tabText(tabs->currentIndex()));
}
}  // namespace

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner, new QTabWidget)
{
    // The tab bar's scroll arrows speak the language of the program's texts.
    for (auto* arrow : Tabs()->tabBar()->findChildren<QToolButton*>()) {
        if (arrow->objectName() == QLatin1String("ScrollLeftButton"))
            arrow->setAccessibleName(QString::fromUtf8("向左捲動"));
        else if (arrow->objectName() == QLatin1String("ScrollRightButton"))
            arrow->setAccessibleName(QString::fromUtf8("向右捲動"));
    }
    QObject::connect(Tabs(), &QTabWidget::currentChanged, Tabs(), [this](int) {
        NameStack(Tabs());
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
    if (Tabs()) NameStack(Tabs());
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
    if (index < 0) return;
    FPageControl->Tabs()->setTabText(index, ToQString(text));
    NameStack(FPageControl->Tabs());
}

int TTabSheet::PageIndex() const
{
    if (!FPageControl || !FPageControl->Tabs() || !Widget()) return -1;
    return FPageControl->Tabs()->indexOf(Widget());
}
