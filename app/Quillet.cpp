// The main window: its layout, start-up, tear-down and the view-style commands.

#include "app/Quillet.h"

#include "app/ToolBarGlyphs.h"
#include "listview/RowText.h"
#include "platform/shell/ComObj.h"
#include "platform/toolkit/Button.h"
#include "platform/toolkit/ComboBox.h"
#include "platform/toolkit/CoolBar.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/ImageList.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/PageControl.h"
#include "platform/toolkit/PopupMenu.h"
#include "platform/toolkit/Splitter.h"
#include "platform/toolkit/StatusBar.h"
#include "platform/toolkit/ToolBar.h"
#include "platform/toolkit/TrackBar.h"
#include "shell/IdList.h"
#include "shell/ShellItem.h"
#include "slideshow/Playoptionset.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QGuiApplication>
#include <QTimer>

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
constexpr int kAttributeColumn = 4;

// The attribute letters of a row in words, for readers.
AnsiString AttributeWords(const AnsiString& letters)
{
    static constexpr struct {
        char letter;
        const char* word;
    } words[] = {{'R', "唯讀"}, {'H', "隱藏"}, {'S', "系統"}, {'A', "封存"}};
    AnsiString text;
    for (const auto& entry : words) {
        if (letters.find(entry.letter) == AnsiString::npos) continue;
        if (!text.empty()) text += "，";
        text += entry.word;
    }
    return text;
}

// What readers call each view style.
const char* ViewName(TViewStyle style)
{
    switch (style) {
    case vsIcon: return "大圖示";
    case vsSmallIcon: return "小圖示";
    case vsList: return "清單";
    default: return "詳細資料";
    }
}

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
    const auto pathBox = [this](TObject* sender) { FocusPathBox(sender); };
    const auto popup = [this](TObject*) { lstvwVirtualList->PopupFromKeyboard(); };
    AddShortCut(ShortCut('L', ssCtrl), pathBox);
    AddShortCut(ShortCut('D', ssAlt), pathBox);
    AddShortCut(ShortCut(VK_F5, 0), [this](TObject* sender) { ReopenFolder(sender); });
    AddShortCut(ShortCut(VK_F10, ssShift), popup);
    AddShortCut(ShortCut(VK_APPS, 0), popup);
    AddShortCut(ShortCut('Q', ssCtrl), [this](TObject*) { Close(); });
    CreateCommandKeys();
}

void TfrmQuillet::CreateCommandKeys()
{
    // Every tool-bar command has a key, and its button tells readers which.
    // None is a key that type-ahead or the path box takes: Ctrl+O opens as
    // desktop programs open, Ctrl+G (gallery) is unused by the list and the
    // box, and the playback options go on Ctrl+Shift+P so that Ctrl+P stays
    // what desktops mean by print.
    const struct {
        TShortCut key;
        TToolButton* TfrmQuillet::*button;
        void (TfrmQuillet::*command)(TObject*);
    } keys[] = {
        {ShortCut('O', ssCtrl), &TfrmQuillet::tlbtnBrowse, &TfrmQuillet::tlbtnBrowseClick},
        {ShortCut(VK_UP, ssAlt), &TfrmQuillet::tlbtnUpOneLevel, &TfrmQuillet::tlbtnUpOneLevelClick},
        {ShortCut('1', ssCtrl), &TfrmQuillet::tlbtnLargeIcons, &TfrmQuillet::LargeIcons1Click},
        {ShortCut('2', ssCtrl), &TfrmQuillet::tlbtnSmallIcons, &TfrmQuillet::SmallIcons1Click},
        {ShortCut('3', ssCtrl), &TfrmQuillet::tlbtnList, &TfrmQuillet::ListView1Click},
        {ShortCut('4', ssCtrl), &TfrmQuillet::tlbtnReport, &TfrmQuillet::ReportView1Click},
        {ShortCut('G', ssCtrl), &TfrmQuillet::ToolButton1, &TfrmQuillet::ToolButton1Click},
        {ShortCut('P', ssCtrl | ssShift), &TfrmQuillet::ToolButton3,
         &TfrmQuillet::ToolButton3Click},
    };
    for (const auto& entry : keys) {
        TToolButton* button = this->*entry.button;
        const auto command = entry.command;
        button->SetKeyBinding(entry.key);
        AddShortCut(entry.key, [this, command, button](TObject*) { (this->*command)(button); });
    }
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
    clbrMyCoolbar->SetAccessibleName("工具列");

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
    tlbrMyButtons->SetAccessibleName("命令");
    clbrMyCoolbar->AddBand(tlbrMyButtons, 25, kBandWidth);

    struct ButtonLayout {
        TToolButton* TfrmQuillet::*field;
        const char* name;
        const char* hint;
        // What a screen reader says for a button that has no hint, in the
        // language of the window's own texts.
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
        {&TfrmQuillet::ToolButton1, "ToolButton1", "", "縮圖", 6, tbsButton, false,
         &TfrmQuillet::ToolButton1Click},
        {&TfrmQuillet::ToolButton2, "ToolButton2", "", "播放", 7, tbsButton, false, nullptr},
        // Glyph 8 lies past the last glyph, so this button shows no picture.
        {&TfrmQuillet::ToolButton3, "ToolButton3", "", "播放設定", 8, tbsButton, false,
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
    cmbxPath->SetAccessibleName("路徑");
    cmbxPath->OnClick = [this](TObject* sender) { cmbxPathClick(sender); };
    cmbxPath->OnKeyDown = [this](TObject* sender, WORD& key, TShiftState shift) {
        cmbxPathKeyDown(sender, key, shift);
    };
    clbrMyCoolbar->AddBand(cmbxPath, 21, kBandWidth);
    LabelPathBox();
}

void TfrmQuillet::LabelPathBox()
{
    // On this desktop readers name a combo box by its label, its own name
    // being its value; the layout shows no label, so this one is there for
    // readers alone.
    auto* label = NewControl<TLabel>(this, clbrMyCoolbar, "lblPath");
    label->SetVisible(false);
    label->SetText("路徑");
    label->SetFocusControl(cmbxPath);
}

void TfrmQuillet::CreateSidePanel()
{
    PageControl1 = NewControl<TPageControl>(this, this, "PageControl1");
    PageControl1->SetAlign(alLeft);
    PageControl1->SetWidth(268);
    PageControl1->SetAccessibleName("設定");

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
    StatusBar1->SetAccessibleName("狀態列");
}

void TfrmQuillet::CreateFileList()
{
    lstvwVirtualList = NewControl<TListView>(this, this, "lstvwVirtualList");
    lstvwVirtualList->SetAlign(alClient);
    lstvwVirtualList->SetAccessibleName("資料夾內容");
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
    // The attribute column shows letters; readers hear them as words.
    lstvwVirtualList->SetAccessibleCellDescriber(kAttributeColumn, [this](int row) {
        if (!FShellItems || row >= FShellItems->GetCount()) return AnsiString();
        return AttributeWords(AttributeLetters(GetShellItem(row)->Attributes));
    });
    AnnounceOpens();
}

void TfrmQuillet::CreateGallery()
{
    // Covers the file list while it is shown.
    LstViewPicture = NewControl<TListView>(this, this, "LstViewPicture");
    LstViewPicture->SetAlign(alClient);
    LstViewPicture->SetAccessibleName("縮圖");
    LstViewPicture->SetViewStyle(vsIcon);
    LstViewPicture->SetLargeImages(ImageList1);
    LstViewPicture->SetVisible(false);
    FollowGalleryFocus();
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
    FileListShown();
}

void TfrmQuillet::tlbtnSmallIconsClick(TObject*)
{
    lstvwVirtualList->SetViewStyle(vsSmallIcon);
    LstViewPicture->SetVisible(false);
    FileListShown();
}

void TfrmQuillet::tlbtnListClick(TObject*)
{
    lstvwVirtualList->SetViewStyle(vsList);
    LstViewPicture->SetVisible(false);
    FileListShown();
}

void TfrmQuillet::tlbtnReportClick(TObject*)
{
    lstvwVirtualList->SetViewStyle(vsReport);
    LstViewPicture->SetVisible(false);
    FileListShown();
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

// Focus and what readers hear: the gallery and the file list share the
// client area, and only the one shown takes the keyboard and reaches readers.

void TfrmQuillet::FollowGalleryFocus()
{
    new EventHook(LstViewPicture->Widget(), [this](QEvent* event) {
        if (event->type() == QEvent::ShowToParent && LstViewPicture->Visible()) {
            // The covered list leaves the Tab order and the readers' view.
            LstViewPicture->SetFocus();
            lstvwVirtualList->SetVisible(false);
        } else if (event->type() == QEvent::HideToParent && !LstViewPicture->Visible()) {
            lstvwVirtualList->SetVisible(true);
        }
        return false;
    });
}

void TfrmQuillet::FileListShown()
{
    lstvwVirtualList->SetFocus();
    AnnounceFileList();
}

void TfrmQuillet::AnnounceOpens()
{
    // Every open sets the list's rows anew; once the open has finished (and
    // selected its first row), readers hear which folder it is.
    QObject::connect(lstvwVirtualList->ActiveView()->model(), &QAbstractItemModel::modelReset,
                     lstvwVirtualList->Widget(), [this] {
                         if (FAnnouncePending) return;
                         FAnnouncePending = true;
                         QTimer::singleShot(0, lstvwVirtualList->Widget(), [this] {
                             FAnnouncePending = false;
                             AnnounceFileList();
                         });
                     });
}

void TfrmQuillet::AnnounceFileList()
{
    AnsiString folder = FCurrentPath;
    if (FDesktopFolder && FCurrentId) {
        try {
            folder = ItemDisplayName(FDesktopFolder, FCurrentId, false);
        } catch (const Exception&) {
            // The parsing name says it as well.
        }
    }
    const int count = lstvwVirtualList->Items()->GetCount();
    lstvwVirtualList->SetAccessibleSummary(
        folder, IntToStr(count) + " 個項目，" + ViewName(lstvwVirtualList->ViewStyle()));
}
