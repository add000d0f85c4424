#pragma once
// The main window: the file list of the open folder, the path box with its
// history, the tool bar of commands, the tile-size panel and the gallery.

#include "platform/shell/OwnedIdList.h"
#include "platform/shell/ShlObj.h"
#include "platform/toolkit/Forms.h"
#include "platform/toolkit/ListView.h"
#include "shell/ShellItem.h"

#include <vector>

class TCoolBar;
class TToolBar;
class TToolButton;
class TComboBox;
class TPageControl;
class TTabSheet;
class TSplitter;
class TStatusBar;
class TImageList;
class TPopupMenu;
class TMenuItem;
class TPanel;
class TGroupBox;
class TTrackBar;
class TLabel;
class TEdit;
class TButton;
class TImage;

// The tile size of the thumbnail gallery, in pixels.
extern int ThumbWidth;
extern int ThumbHeight;

class TfrmQuillet : public TForm {
public:
    // Builds the window from its layout; FormCreate runs from OnCreate.
    explicit TfrmQuillet(TComponent* AOwner);
    ~TfrmQuillet() override;

    // Layout.
    TCoolBar* clbrMyCoolbar;
    TToolBar* tlbrMyButtons;
    TToolButton* tlbtnBrowse;
    TToolButton* tlbtnUpOneLevel;
    TToolButton* tlbtnSeperater;
    TToolButton* tlbtnLargeIcons;
    TToolButton* tlbtnSmallIcons;
    TToolButton* tlbtnList;
    TToolButton* tlbtnReport;
    TToolButton* ToolButton1;
    TToolButton* ToolButton2;
    TToolButton* ToolButton3;
    TComboBox* cmbxPath;
    TPageControl* PageControl1;
    TTabSheet* TabSheet1;
    TTabSheet* TabSheet2;
    TPanel* Panel1;
    TGroupBox* GroupBox2;
    TTrackBar* TakBarWidth;
    TTrackBar* TakBarHeight;
    TPanel* BorderPal;
    TPanel* PicPalMain;
    TGroupBox* GroupBox3;
    TLabel* LabelPicWidth;
    TEdit* EditPicWidth;
    TLabel* LabelPicHeight;
    TEdit* EditPicHeight;
    TButton* Button1;
    TSplitter* Splitter2;
    TGroupBox* GroupBox1;
    TImage* Image1;
    TSplitter* Splitter1;
    TListView* lstvwVirtualList;
    TListView* LstViewPicture;
    TStatusBar* StatusBar1;
    TImageList* imglstToolBarImages;
    TImageList* ImageList1;
    TPopupMenu* pmnViews;
    TMenuItem* LargeIcons1;
    TMenuItem* SmallIcons1;
    TMenuItem* ListView1;
    TMenuItem* ReportView1;

    // Start-up, tear-down and view styles: app/Quillet.cpp.
    void FormCreate(TObject* Sender);
    void tlbtnLargeIconsClick(TObject* Sender);
    void tlbtnSmallIconsClick(TObject* Sender);
    void tlbtnListClick(TObject* Sender);
    void tlbtnReportClick(TObject* Sender);
    void LargeIcons1Click(TObject* Sender);
    void SmallIcons1Click(TObject* Sender);
    void ListView1Click(TObject* Sender);
    void ReportView1Click(TObject* Sender);

    // The open folder and its history: shell/OpenFolder.cpp.
    void OpenFolderPath(const AnsiString& path);
    void OpenFolderId(LPITEMIDLIST id);
    PShellItem* GetShellItem(int index);
    void FillItemList(IShellFolder* folder);
    void ClearItemList();

    // Navigation: shell/Navigation.cpp.
    void tlbtnBrowseClick(TObject* Sender);
    void tlbtnUpOneLevelClick(TObject* Sender);
    void cmbxPathClick(TObject* Sender);
    void cmbxPathKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void lstvwVirtualListDblClick(TObject* Sender);
    void lstvwVirtualListKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    // Window shortcuts: Ctrl+L and Alt+D focus the path box with its text
    // selected; F5 opens the open folder again.
    void FocusPathBox(TObject* Sender);
    void ReopenFolder(TObject* Sender);

    // Rows of the file list: listview/RowProvider.cpp, except the hint and
    // LoadItemDetails (listview/DetailLoader.cpp) and the find request
    // (listview/TypeAheadHandler.cpp).
    void lstvwVirtualListData(TObject* Sender, TListItem* Item);
    void lstvwVirtualListCustomDrawItem(TCustomListView* Sender, TListItem* Item,
                                        TCustomDrawState State, bool& DefaultDraw);
    void lstvwVirtualListCustomDrawSubItem(TCustomListView* Sender, TListItem* Item, int SubItem,
                                           TCustomDrawState State, bool& DefaultDraw);
    void lstvwVirtualListClick(TObject* Sender);
    void lstvwVirtualListDataHint(TObject* Sender, int StartIndex, int EndIndex);
    void LoadItemDetails(int StartIndex, int EndIndex);
    void lstvwVirtualListDataFind(TObject* Sender, TItemFind Find, const AnsiString& FindString,
                                  const TPoint& FindPosition, void* FindData, int StartIndex,
                                  TSearchDirection Direction, bool Wrap, int& Index);

    // The gallery (ToolButton1Click, BuildThumbnails): thumbnails/Gallery.cpp;
    // the tile-size panel: thumbnails/TileSizePanel.cpp.
    void ToolButton1Click(TObject* Sender);
    void BuildThumbnails();
    void TakBarWidthChange(TObject* Sender);
    void TakBarHeightChange(TObject* Sender);
    void EditPicWidthChange(TObject* Sender);
    void Button1Click(TObject* Sender);

    // Slideshow: app/Quillet.cpp.
    void ToolButton3Click(TObject* Sender);

    // The open folder's state.
    TList* FShellItems = nullptr;
    LPITEMIDLIST FCurrentId = nullptr;
    IShellFolder* FDesktopFolder = nullptr;
    AnsiString FCurrentPath;
    IShellFolder* FCurrentFolder = nullptr;

private:
    void CreateToolBar();
    void CreatePathBox();
    void CreateFileList();
    // A label for readers, which the path box's relations point at.
    void LabelPathBox();
    void CreateSidePanel();
    // Lays out the tile-size panel on TabSheet1 (thumbnails/TileSizePanel.cpp).
    void CreateTileSizePanel();
    void CreateGallery();
    void CreateViewsMenu();
    // The window's keyboard shortcuts and its tab order.
    void CreateShortCuts();
    // The keys of the tool-bar commands, published on their buttons.
    void CreateCommandKeys();
    // The gallery takes the focus when it is shown; the file list it covers
    // is hidden meanwhile, out of the Tab order and the readers' view.
    void FollowGalleryFocus();
    // After a view-style command: the file list has the focus, and readers
    // hear its new style.
    void FileListShown();
    // Readers hear the open folder's name and number of items after every
    // open, with the focused row.
    void AnnounceOpens();
    void AnnounceFileList();
    bool FAnnouncePending = false;
    void SetUpTabOrder();
    // The history's ownership of item id lists (shell/OpenFolder.cpp).
    // True when id is the list of a history entry.
    bool IsHistoryList(LPCITEMIDLIST id) const;
    // Empties the history and frees its lists and FCurrentId; raises when the
    // allocator cannot be had.
    void ReleaseFolderIds();
    // The lists of the history's entries, each once however many entries
    // share it; the entries' objects point at them.
    std::vector<OwnedIdList> FHistoryIds;
    // FCurrentId while no history entry holds it.
    OwnedIdList FOwnedCurrentId;

    // Each scan gets a number; a scan that finds a newer one running when it
    // resumes from message processing stops.
    unsigned FScanGeneration = 0;
};

extern TfrmQuillet* frmQuillet;
