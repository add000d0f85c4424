// The main window: its layout, start-up, tear-down and the view-style commands.

#include "app/Quillet.h"

#include "app/ToolBarGlyphs.h"
#include "platform/shell/ComObj.h"
#include "platform/toolkit/Button.h"
#include "platform/toolkit/ComboBox.h"
#include "platform/toolkit/CoolBar.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/ImageList.h"
#include "platform/toolkit/PageControl.h"
#include "platform/toolkit/PopupMenu.h"
#include "platform/toolkit/Splitter.h"
#include "platform/toolkit/StatusBar.h"
#include "platform/toolkit/ToolBar.h"
#include "platform/toolkit/TrackBar.h"
#include "shell/IdList.h"
#include "slideshow/Playoptionset.h"

#include <QGuiApplication>

int ThumbWidth = 0;
int ThumbHeight = 0;
TfrmQuillet* frmQuillet = nullptr;

namespace {

// The window's own size when it is not maximised.
constexpr int kNormalLeft = 225, kNormalTop = 14, kNormalWidth = 799, kNormalHeight = 720;
constexpr int kBandWidth = 787;
// Room for the tool bar, the settings page with the preview group shrunk to
// its caption, a useful part of the file list and the status bar; it fits an
// 800 x 600 screen with the window manager's title bar and a panel.
constexpr int kMinWidth = 600, kMinHeight = 520;

struct ColumnLayout {
    const char* caption;
    int width;
    TAlignment alignment;
};
constexpr ColumnLayout kReportColumns[] = {
    {"檔名", 175, taLeftJustify},     {"大小", 75, taRightJustify}, {"類型", 150, taLeftJustify},
    {"修改日期", 100, taLeftJustify}, {"屬性", 75, taRightJustify},
};

}  // namespace

TfrmQuillet::TfrmQuillet(TComponent* AOwner) : TForm(AOwner)
{
    SetName("frmQuillet");
    SetCaption("Quillet Demo");
    SetBounds(kNormalLeft, kNormalTop, kNormalWidth, kNormalHeight);
    SetMinimumSize(kMinWidth, kMinHeight);
    SetColor(clBtnFace);
    SetWindowState(wsMaximized);

    imglstToolBarImages = new TImageList(this);
    imglstToolBarImages->SetName("imglstToolBarImages");
    imglstToolBarImages->SetSize(16, 16);
    AddToolBarGlyphs(imglstToolBarImages, QGuiApplication::palette());

    ImageList1 = new TImageList(this);
    ImageList1->SetName("ImageList1");
    ImageList1->SetSize(200, 200);

    CreateViewsMenu();
    CreateToolBar();
    CreatePathBox();
    CreateSidePanel();
    CreateFileList();
    CreateGallery();
    CreateShortCuts();
    SetUpTabOrder();

    OnCreate = [this](TObject* sender) { FormCreate(sender); };
}

void TfrmQuillet::CreateViewsMenu()
{
    pmnViews = new TPopupMenu(this);
    pmnViews->SetName("pmnViews");
    auto addEntry = [this](const char* name, const char* caption,
                           void (TfrmQuillet::*handler)(TObject*)) {
        auto* entry = new TMenuItem(this);
        entry->SetName(name);
        entry->SetCaption(caption);
        entry->OnClick = [this, handler](TObject* sender) { (this->*handler)(sender); };
        pmnViews->Add(entry);
        return entry;
    };
    LargeIcons1 = addEntry("LargeIcons1", "&Large Icons", &TfrmQuillet::LargeIcons1Click);
    SmallIcons1 = addEntry("SmallIcons1", "&Small Icons", &TfrmQuillet::SmallIcons1Click);
    ListView1 = addEntry("ListView1", "&ListView", &TfrmQuillet::ListView1Click);
    ReportView1 = addEntry("ReportView1", "&Report View", &TfrmQuillet::ReportView1Click);
}

void TfrmQuillet::CreateShortCuts()
{
    // What the keyboard cannot reach otherwise; the view styles go as their
    // pop-up entries do.
    const auto upOneLevel = [this](TObject* sender) { tlbtnUpOneLevelClick(sender); };
    const auto pathBox = [this](TObject* sender) { FocusPathBox(sender); };
    const auto popup = [this](TObject*) { lstvwVirtualList->PopupFromKeyboard(); };
    AddShortCut(ShortCut(VK_UP, ssAlt), upOneLevel);
    AddShortCut(ShortCut('L', ssCtrl), pathBox);
    AddShortCut(ShortCut('D', ssAlt), pathBox);
    AddShortCut(ShortCut(VK_F5, 0), [this](TObject* sender) { ReopenFolder(sender); });
    AddShortCut(ShortCut('1', ssCtrl), [this](TObject*) { LargeIcons1Click(LargeIcons1); });
    AddShortCut(ShortCut('2', ssCtrl), [this](TObject*) { SmallIcons1Click(SmallIcons1); });
    AddShortCut(ShortCut('3', ssCtrl), [this](TObject*) { ListView1Click(ListView1); });
    AddShortCut(ShortCut('4', ssCtrl), [this](TObject*) { ReportView1Click(ReportView1); });
    AddShortCut(ShortCut(VK_F10, ssShift), popup);
    AddShortCut(ShortCut(VK_APPS, 0), popup);
}

void TfrmQuillet::SetUpTabOrder()
{
    // From the path box one Tab reaches the list (the gallery, while it
    // covers the file list), then the settings page, top to bottom.
    SetTabOrder({cmbxPath, LstViewPicture, lstvwVirtualList, PageControl1, TakBarWidth,
                 TakBarHeight, EditPicWidth, EditPicHeight, Button1});
}

void TfrmQuillet::CreateToolBar()
{
    clbrMyCoolbar = NewControl<TCoolBar>(this, this, "clbrMyCoolbar");
    clbrMyCoolbar->SetAlign(alTop);
    clbrMyCoolbar->SetHeight(57);
    clbrMyCoolbar->SetAccessibleName("Tool bars");

    tlbrMyButtons = NewControl<TToolBar>(this, clbrMyCoolbar, "tlbrMyButtons");
    tlbrMyButtons->SetFlat(true);
    tlbrMyButtons->SetButtonWidth(24);
    tlbrMyButtons->SetButtonHeight(25);
    tlbrMyButtons->SetImages(imglstToolBarImages);
    // Drawn glyphs follow the palette: when the desktop switches to a dark
    // theme they are drawn again in its colours.
    new EventHook(tlbrMyButtons->Widget(), [this](QEvent* event) {
        if (event->type() == QEvent::PaletteChange) {
            imglstToolBarImages->Clear();
            AddToolBarGlyphs(imglstToolBarImages, QGuiApplication::palette());
            tlbrMyButtons->SetImages(imglstToolBarImages);
        }
        return false;
    });
    tlbrMyButtons->SetShowHint(true);
    tlbrMyButtons->SetAccessibleName("Commands");
    clbrMyCoolbar->AddBand(tlbrMyButtons, 25, kBandWidth);

    struct ButtonLayout {
        TToolButton* TfrmQuillet::*field;
        const char* name;
        const char* hint;
        // What a screen reader says for a button that has no hint.
        const char* spoken;
        int glyph;
        TToolButtonStyle style;
        bool grouped;
        void (TfrmQuillet::*handler)(TObject*);
    };
    const ButtonLayout buttons[] = {
        {&TfrmQuillet::tlbtnBrowse, "tlbtnBrowse", "Browse", "", 0, tbsButton, true,
         &TfrmQuillet::tlbtnBrowseClick},
        {&TfrmQuillet::tlbtnUpOneLevel, "tlbtnUpOneLevel", "Up One Level", "", 1, tbsButton, true,
         &TfrmQuillet::tlbtnUpOneLevelClick},
        {&TfrmQuillet::tlbtnSeperater, "tlbtnSeperater", "", "", -1, tbsSeparator, true, nullptr},
        {&TfrmQuillet::tlbtnLargeIcons, "tlbtnLargeIcons", "Large Icons", "", 2, tbsCheck, true,
         &TfrmQuillet::tlbtnLargeIconsClick},
        {&TfrmQuillet::tlbtnSmallIcons, "tlbtnSmallIcons", "Small Icons", "", 3, tbsCheck, true,
         &TfrmQuillet::tlbtnSmallIconsClick},
        {&TfrmQuillet::tlbtnList, "tlbtnList", "List View", "", 4, tbsCheck, true,
         &TfrmQuillet::tlbtnListClick},
        {&TfrmQuillet::tlbtnReport, "tlbtnReport", "Report View", "", 5, tbsCheck, true,
         &TfrmQuillet::tlbtnReportClick},
        {&TfrmQuillet::ToolButton1, "ToolButton1", "", "Thumbnails", 6, tbsButton, false,
         &TfrmQuillet::ToolButton1Click},
        {&TfrmQuillet::ToolButton2, "ToolButton2", "", "Play", 7, tbsButton, false, nullptr},
        // Glyph 8 lies past the last glyph, so this button shows no picture.
        {&TfrmQuillet::ToolButton3, "ToolButton3", "", "Slideshow options", 8, tbsButton, false,
         &TfrmQuillet::ToolButton3Click},
    };
    for (const ButtonLayout& layout : buttons) {
        auto* button = NewControl<TToolButton>(this, tlbrMyButtons, layout.name);
        button->SetStyle(layout.style);
        button->SetGrouped(layout.grouped);
        if (layout.style == tbsSeparator) button->SetWidth(11);
        button->SetImageIndex(layout.glyph);
        if (*layout.hint) button->SetHint(layout.hint);
        if (*layout.spoken) button->SetAccessibleName(layout.spoken);
        if (layout.handler) {
            auto handler = layout.handler;
            button->OnClick = [this, handler](TObject* sender) { (this->*handler)(sender); };
        }
        this->*layout.field = button;
    }
}

void TfrmQuillet::CreatePathBox()
{
    cmbxPath = NewControl<TComboBox>(this, clbrMyCoolbar, "cmbxPath");
    cmbxPath->SetWidth(774);
    cmbxPath->SetItemHeight(13);
    cmbxPath->SetAccessibleName("Path");
    cmbxPath->OnClick = [this](TObject* sender) { cmbxPathClick(sender); };
    cmbxPath->OnKeyDown = [this](TObject* sender, WORD& key, TShiftState shift) {
        cmbxPathKeyDown(sender, key, shift);
    };
    clbrMyCoolbar->AddBand(cmbxPath, 21, kBandWidth);
}

void TfrmQuillet::CreateSidePanel()
{
    PageControl1 = NewControl<TPageControl>(this, this, "PageControl1");
    PageControl1->SetAlign(alLeft);
    PageControl1->SetWidth(268);
    PageControl1->SetAccessibleName("Settings");

    TabSheet1 = new TTabSheet(this);
    TabSheet1->SetName("TabSheet1");
    TabSheet1->SetPageControl(PageControl1);
    TabSheet1->SetText("顯示圖片設定");

    TabSheet2 = new TTabSheet(this);
    TabSheet2->SetName("TabSheet2");
    TabSheet2->SetPageControl(PageControl1);
    TabSheet2->SetText("TabSheet2");
    PageControl1->SetActivePage(TabSheet1);

    CreateTileSizePanel();

    Splitter1 = NewControl<TSplitter>(this, this, "Splitter1");
    Splitter1->SetAlign(alLeft);
    Splitter1->SetWidth(3);
    Splitter1->SetCursor(crHSplit);

    StatusBar1 = NewControl<TStatusBar>(this, this, "StatusBar1");
    StatusBar1->SetAlign(alBottom);
    StatusBar1->SetHeight(19);
    StatusBar1->SetAccessibleName("Status");
}

void TfrmQuillet::CreateFileList()
{
    lstvwVirtualList = NewControl<TListView>(this, this, "lstvwVirtualList");
    lstvwVirtualList->SetAlign(alClient);
    lstvwVirtualList->SetAccessibleName("Folder contents");
    lstvwVirtualList->SetOwnerData(true);
    for (const ColumnLayout& layout : kReportColumns) {
        TListColumn* column = lstvwVirtualList->Columns()->Add();
        column->Caption = layout.caption;
        column->Width = layout.width;
        column->Alignment = layout.alignment;
    }
    lstvwVirtualList->Columns()->Changed();
    lstvwVirtualList->SetViewStyle(vsReport);
    lstvwVirtualList->SetPopupMenu(pmnViews);

    lstvwVirtualList->OnClick = [this](TObject* sender) { lstvwVirtualListClick(sender); };
    lstvwVirtualList->OnData = [this](TObject* sender, TListItem* item) {
        lstvwVirtualListData(sender, item);
    };
    lstvwVirtualList->OnDataHint = [this](TObject* sender, int start, int end) {
        lstvwVirtualListDataHint(sender, start, end);
    };
    lstvwVirtualList->OnDataFind = [this](TObject* sender, TItemFind find, const AnsiString& text,
                                          const TPoint& position, void* data, int start,
                                          TSearchDirection direction, bool wrap, int& index) {
        lstvwVirtualListDataFind(sender, find, text, position, data, start, direction, wrap, index);
    };
    lstvwVirtualList->OnCustomDrawItem = [this](TCustomListView* sender, TListItem* item,
                                                TCustomDrawState state, bool& defaultDraw) {
        lstvwVirtualListCustomDrawItem(sender, item, state, defaultDraw);
    };
    lstvwVirtualList->OnCustomDrawSubItem = [this](TCustomListView* sender, TListItem* item,
                                                   int subItem, TCustomDrawState state,
                                                   bool& defaultDraw) {
        lstvwVirtualListCustomDrawSubItem(sender, item, subItem, state, defaultDraw);
    };
    lstvwVirtualList->OnDblClick = [this](TObject* sender) { lstvwVirtualListDblClick(sender); };
    lstvwVirtualList->OnKeyDown = [this](TObject* sender, WORD& key, TShiftState shift) {
        lstvwVirtualListKeyDown(sender, key, shift);
    };
}

void TfrmQuillet::CreateGallery()
{
    // Covers the file list while it is shown.
    LstViewPicture = NewControl<TListView>(this, this, "LstViewPicture");
    LstViewPicture->SetAlign(alClient);
    LstViewPicture->SetAccessibleName("Thumbnails");
    LstViewPicture->SetViewStyle(vsIcon);
    LstViewPicture->SetLargeImages(ImageList1);
    LstViewPicture->SetVisible(false);
}

TfrmQuillet::~TfrmQuillet()
{
    // The controls go after this part of the window; the page's resizes
    // while they go must not reach the tile-size panel's handler.
    TabSheet1->OnResize = nullptr;
    // Nothing may leave a destructor. A list that cannot be given back (the
    // allocator cannot be had) is reported, and what is left is let go.
    if (FShellItems) {
        try {
            ClearItemList();
        } catch (const Exception& e) {
            Application->ShowException(&e);
        }
        for (int i = 0; i < FShellItems->GetCount(); ++i) delete GetShellItem(i);
        delete FShellItems;
        FShellItems = nullptr;
    }
    try {
        ReleaseFolderIds();
    } catch (const Exception& e) {
        Application->ShowException(&e);
    }
    if (FCurrentFolder) FCurrentFolder->Release();
    FCurrentFolder = nullptr;
    if (FDesktopFolder) FDesktopFolder->Release();
    FDesktopFolder = nullptr;
    if (frmQuillet == this) frmQuillet = nullptr;
}

void TfrmQuillet::FormCreate(TObject*)
{
    ThumbHeight = 200;
    ThumbWidth = 200;
    FCurrentId = nullptr;
    FShellItems = new TList;
    OleCheck(SHGetDesktopFolder(&FDesktopFolder));
    FCurrentFolder = FDesktopFolder;
    FCurrentFolder->AddRef();

    // The system image lists belong to the shell; the list only uses them.
    SHFILEINFOA info{};
    const DWORD_PTR smallIcons =
        SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    SendMessageA(lstvwVirtualList->Handle(), LVM_SETIMAGELIST, LVSIL_SMALL,
                 static_cast<LPARAM>(smallIcons));
    const DWORD_PTR largeIcons = SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX);
    SendMessageA(lstvwVirtualList->Handle(), LVM_SETIMAGELIST, LVSIL_NORMAL,
                 static_cast<LPARAM>(largeIcons));

    LPITEMIDLIST drives = nullptr;
    OleCheck(SHGetSpecialFolderLocation(Application->Handle(), CSIDL_DRIVES, &drives));
    OpenFolderId(drives);

    SetActiveControl(cmbxPath);
    cmbxPath->SetSelStart(0);
    cmbxPath->SetSelLength(static_cast<int>(cmbxPath->GetText().size()));
    tlbtnReport->SetDown(true);
}

// View styles: each shows the file list in its style, hiding the gallery.

void TfrmQuillet::tlbtnLargeIconsClick(TObject*)
{
    lstvwVirtualList->SetViewStyle(vsIcon);
    LstViewPicture->SetVisible(false);
}

void TfrmQuillet::tlbtnSmallIconsClick(TObject*)
{
    lstvwVirtualList->SetViewStyle(vsSmallIcon);
    LstViewPicture->SetVisible(false);
}

void TfrmQuillet::tlbtnListClick(TObject*)
{
    lstvwVirtualList->SetViewStyle(vsList);
    LstViewPicture->SetVisible(false);
}

void TfrmQuillet::tlbtnReportClick(TObject*)
{
    lstvwVirtualList->SetViewStyle(vsReport);
    LstViewPicture->SetVisible(false);
}

void TfrmQuillet::LargeIcons1Click(TObject* Sender)
{
    tlbtnLargeIcons->SetDown(true);
    tlbtnLargeIconsClick(Sender);
}

void TfrmQuillet::SmallIcons1Click(TObject* Sender)
{
    tlbtnSmallIcons->SetDown(true);
    tlbtnSmallIconsClick(Sender);
}

void TfrmQuillet::ListView1Click(TObject* Sender)
{
    tlbtnList->SetDown(true);
    tlbtnListClick(Sender);
}

void TfrmQuillet::ReportView1Click(TObject* Sender)
{
    tlbtnReport->SetDown(true);
    tlbtnReportClick(Sender);
}

void TfrmQuillet::ToolButton3Click(TObject*)
{
    // Owned by the application; closing it only hides it.
    auto* options = new TPlayOption(Application);
    options->Show();
}
