// The row request and the drawing handlers, on a real window over real files.

#include "tests/listview/FolderWindow.h"

#include "platform/toolkit/Graphics.h"

namespace {
using Texts = std::vector<AnsiString>;
}

class RowsTest : public FolderWindowTest {};

// Sizes are whole thousands of bytes, never 0; folders show no size.
TEST_F(RowsTest, SizeColumn)
{
    const struct {
        const char* name;
        long long bytes;
        const char* text;
    } files[] = {
        {"s12345", 12345, "12KB"},
        {"s0", 0, "1KB"},
        {"s999", 999, "1KB"},
        {"s1000", 1000, "1KB"},
        {"s1999", 1999, "1KB"},
        {"s2000", 2000, "2KB"},
        {"s5gib", 5LL << 30, "5368709KB"},          // past 4 GiB: the whole size
        {"s3tb", 3000000000000LL, "2147483647KB"},  // clamped
    };
    for (const auto& f : files) MakeFile(f.name, f.bytes);
    MakeFolder("sub");
    OpenWindow();
    LoadAll();

    for (const auto& f : files) {
        const Texts texts = RowTexts(RowOf(f.name));
        ASSERT_EQ(texts.size(), 5u) << f.name;
        EXPECT_EQ(texts[1], f.text) << f.name;
    }
    const PShellItem* sub = Record("sub");
    EXPECT_EQ(sub->SizeKB, 1);
    const Texts folder = RowTexts(RowOf("sub"));
    ASSERT_EQ(folder.size(), 5u);
    EXPECT_EQ(folder[1], "");
    EXPECT_EQ(folder[2], sub->TypeText);
    EXPECT_EQ(folder[3], sub->DateText);
    EXPECT_NE(folder[3], "");
}

// The report view shows the loaded fields in column order; before any hint a
// row shows the record's initial values; other views get caption and icon only.
TEST_F(RowsTest, RowContentByViewStyle)
{
    MakeFile("plain", 12345);
    MakeFile(".hidden", 10);
    MakeFile("locked", 10);
    ASSERT_EQ(::chmod(PathOf("locked").toLocal8Bit().constData(), 0444), 0);
    OpenWindow();

    EXPECT_EQ(RowTexts(RowOf("plain")), (Texts{"plain", "0KB", "", "", ""}));

    LoadAll();
    const PShellItem* plain = Record("plain");
    EXPECT_NE(plain->TypeText, "");
    EXPECT_EQ(RowTexts(RowOf("plain")),
              (Texts{"plain", "12KB", plain->TypeText, plain->DateText, "A"}));
    EXPECT_EQ(RowTexts(RowOf(".hidden")).back(), "HA");
    EXPECT_EQ(RowTexts(RowOf("locked")).back(), "RA");

    TListItem item(frmQuillet->lstvwVirtualList, RowOf("plain"));
    for (TViewStyle style : {vsIcon, vsSmallIcon, vsList}) {
        frmQuillet->lstvwVirtualList->SetViewStyle(style);
        item.SubItems->Clear();
        frmQuillet->lstvwVirtualListData(nullptr, &item);
        EXPECT_EQ(item.Caption, "plain");
        EXPECT_EQ(item.ImageIndex, plain->IconIndex);
        EXPECT_EQ(item.SubItems->GetCount(), 0) << style;
    }
}

// A request for a row the records do not reach sets nothing and raises nothing.
TEST_F(RowsTest, RowPastTheRecordsStaysBlank)
{
    MakeFile("only");
    OpenWindow();
    TListItem item(frmQuillet->lstvwVirtualList, RowCount());
    item.Caption = "untouched";
    item.ImageIndex = 7;
    frmQuillet->lstvwVirtualListData(nullptr, &item);
    EXPECT_EQ(item.Caption, "untouched");
    EXPECT_EQ(item.ImageIndex, 7);
    EXPECT_EQ(item.SubItems->GetCount(), 0);
}

// Read-only greys the name, hidden strikes it out, system highlights it and
// wins over read-only; the style keeps its other members.
TEST_F(RowsTest, RowFontFollowsAttributes)
{
    MakeFile("row");
    OpenWindow();
    TCustomListView* list = frmQuillet->lstvwVirtualList;
    TFont* font = list->Canvas()->Font;
    TListItem item(list, 0);

    const struct {
        DWORD attributes;
        TColor color;
        TFontStyles style;
    } cases[] = {
        {0x0, clRed, fsBold},
        {0x1, clGrayText, fsBold},
        {0x2, clRed, fsBold | fsStrikeOut},
        {0x4, clHighlight, fsBold},
        {0x1 | 0x4, clHighlight, fsBold},
        {0x1 | 0x2 | 0x4 | 0x20, clHighlight, fsBold | fsStrikeOut},
        {0x10 | 0x800, clRed, fsBold},
    };
    for (const auto& c : cases) {
        frmQuillet->GetShellItem(0)->Attributes = c.attributes;
        font->Color = clRed;
        font->Style = fsBold;
        bool defaultDraw = true;
        frmQuillet->lstvwVirtualListCustomDrawItem(list, &item, 0, defaultDraw);
        EXPECT_EQ(font->Color, c.color) << c.attributes;
        EXPECT_EQ(font->Style, c.style) << c.attributes;
        EXPECT_TRUE(defaultDraw);
    }

    font->Color = clRed;
    font->Style = 0;
    bool defaultDraw = true;
    frmQuillet->lstvwVirtualListCustomDrawItem(list, nullptr, 0, defaultDraw);
    EXPECT_EQ(font->Color, clRed);
    EXPECT_EQ(font->Style, 0);
}

// Every column but the name is drawn in the window-text colour as a plain RGB
// value, whatever the row stage set.
TEST_F(RowsTest, CellFontOfOtherColumns)
{
    MakeFile("cell");
    OpenWindow();
    TCustomListView* list = frmQuillet->lstvwVirtualList;
    TFont* font = list->Canvas()->Font;
    TListItem item(list, 0);
    const TColor windowText = static_cast<TColor>(GetSysColor(COLOR_WINDOWTEXT));

    for (int column = 0; column < 5; ++column) {
        font->Color = clHighlight;
        font->Style = fsStrikeOut;
        bool defaultDraw = true;
        frmQuillet->lstvwVirtualListCustomDrawSubItem(list, &item, column, 0, defaultDraw);
        EXPECT_EQ(font->Color, column == 0 ? clHighlight : windowText) << column;
        EXPECT_EQ(font->Style, fsStrikeOut);
        EXPECT_TRUE(defaultDraw);
    }
}
