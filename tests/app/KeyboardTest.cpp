// The main window from the keyboard alone: where Tab goes, what leaving and
// Enter in the path box do, and the window's shortcuts. Keys are typed into
// whatever has the focus, as a user types them.

#include "platform/toolkit/Button.h"
#include "platform/toolkit/ComboBox.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/PageControl.h"
#include "platform/toolkit/PopupMenu.h"
#include "platform/toolkit/ToolBar.h"
#include "platform/toolkit/TrackBar.h"
#include "tests/shell/MainWindowFixture.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <filesystem>

namespace {

class KeyboardTest : public MainWindowTest {
protected:
    void Populate(const TempDrive& drive) override
    {
        drive.AddFolder("Photos/2024");
        drive.AddFile("Photos/beach.jpg");
        drive.AddFile("readme.txt");
    }

    void SetUp() override
    {
        MainWindowTest::SetUp();
        QTRY_VERIFY(QApplication::focusWidget() != nullptr);
    }

    void TearDown() override
    {
        if (QMenu* menu = FWindow->pmnViews->Menu()) menu->hide();
        MainWindowTest::TearDown();
    }

    // Types a key into the widget with the focus.
    void Type(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, key, modifiers);
    }

    // The name of the control that holds the focus ("" for none).
    std::string Focused() const
    {
        for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
            for (TWinControl* control : Controls())
                if (control->Widget() == w) return control->Name();
        return {};
    }

    std::vector<TWinControl*> Controls() const
    {
        return {FWindow->cmbxPath,     FWindow->lstvwVirtualList, FWindow->LstViewPicture,
                FWindow->PageControl1, FWindow->TakBarWidth,      FWindow->TakBarHeight,
                FWindow->EditPicWidth, FWindow->EditPicHeight,    FWindow->Button1};
    }

    // The first record of the open folder: a new one after every open.
    const void* FirstRecord() const { return FWindow->GetShellItem(0); }
};

}  // namespace

// One Tab from the path box reaches the file list; on from there through the
// settings page and back to the box. While the gallery covers the file list,
// it takes the list's place.
TEST_F(KeyboardTest, TabGoesFromThePathBoxToTheListAndAround)
{
    ASSERT_EQ(Focused(), "cmbxPath");
    const std::vector<std::string> order = {"lstvwVirtualList", "PageControl1", "TakBarWidth",
                                            "TakBarHeight",     "EditPicWidth", "EditPicHeight",
                                            "Button1",          "cmbxPath"};
    for (const std::string& expected : order) {
        Type(Qt::Key_Tab);
        EXPECT_EQ(Focused(), expected);
    }
    Type(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Focused(), "Button1");

    // The gallery takes the focus when it is shown; the file list it covers
    // is out of the round until a view style brings it back.
    FWindow->ToolButton1->Click();
    EXPECT_EQ(Focused(), "LstViewPicture");
    Type(Qt::Key_Down);
    EXPECT_EQ(SelectedRow(), 0) << "a key reached the covered list";
    FWindow->FocusPathBox(nullptr);
    Type(Qt::Key_Tab);
    EXPECT_EQ(Focused(), "LstViewPicture");
    Type(Qt::Key_Tab);
    EXPECT_EQ(Focused(), "PageControl1");
    Type(Qt::Key_Backtab, Qt::ShiftModifier);
    Type(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Focused(), "cmbxPath");
    Type(Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(Focused(), "lstvwVirtualList");
}

// Leaving the box over text that names a history entry opens nothing, even
// when that folder is gone by then.
TEST_F(KeyboardTest, LeavingThePathBoxOpensNothing)
{
    FWindow->OpenFolderPath(DrivePath("Photos"));
    FWindow->OpenFolderPath("C:\\");
    const void* before = FirstRecord();
    std::filesystem::remove_all(FDrive->Root() + "/Photos");
    FWindow->cmbxPath->SetText(DrivePath("Photos"));
    QTest::mouseClick(FWindow->lstvwVirtualList->ActiveView()->viewport(), Qt::LeftButton, {},
                      QPoint(40, 5));
    QTRY_COMPARE(Focused(), "lstvwVirtualList");
    Application->ProcessMessages();
    EXPECT_EQ(FWindow->FCurrentPath, "C:\\");
    EXPECT_EQ(FirstRecord(), before);
    EXPECT_TRUE(FDialogs.errors.empty());
}

// Enter that opens a folder hands the focus to the list, so the next arrow
// key moves there; Enter that fails leaves it in the box with the text.
TEST_F(KeyboardTest, EnterInThePathBoxMovesTheFocusOnlyWhenItOpens)
{
    FWindow->cmbxPath->SetText("C:");
    Type(Qt::Key_Return);
    EXPECT_EQ(FWindow->FCurrentPath, "C:\\");
    EXPECT_EQ(Focused(), "lstvwVirtualList");
    Type(Qt::Key_Down);
    EXPECT_EQ(SelectedRow(), 1);
    EXPECT_EQ(FWindow->FCurrentPath, "C:\\");

    FWindow->FocusPathBox(nullptr);
    FWindow->cmbxPath->SetText(DrivePath("nothing here"));
    Type(Qt::Key_Return);
    EXPECT_EQ(FDialogs.errors.size(), 1u);
    EXPECT_EQ(Focused(), "cmbxPath");
    EXPECT_EQ(FWindow->cmbxPath->GetText(), DrivePath("nothing here"));
}

// Ctrl+L and Alt+D: the path box with its whole text selected, from anywhere.
TEST_F(KeyboardTest, PathBoxShortcutsSelectItsText)
{
    for (Qt::KeyboardModifiers modifiers : {Qt::ControlModifier, Qt::AltModifier}) {
        FWindow->lstvwVirtualList->SetFocus();
        QTRY_COMPARE(Focused(), "lstvwVirtualList");
        Type(modifiers == Qt::ControlModifier ? Qt::Key_L : Qt::Key_D, modifiers);
        EXPECT_EQ(Focused(), "cmbxPath");
        const QLineEdit* edit = FWindow->cmbxPath->Box()->lineEdit();
        EXPECT_EQ(edit->selectedText(), edit->text());
        EXPECT_FALSE(edit->text().isEmpty());
    }
}

// Alt+Up goes up a level; F5 reads the open folder again, keeping its one
// history entry.
TEST_F(KeyboardTest, UpAndReopenFromTheKeyboard)
{
    FWindow->OpenFolderPath(DrivePath("Photos/2024"));
    FWindow->lstvwVirtualList->SetFocus();
    Type(Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(FWindow->FCurrentPath, DrivePath("Photos"));

    const size_t entries = History().size();
    FDrive->AddFile("Photos/later.jpg");
    Type(Qt::Key_F5);
    EXPECT_EQ(FWindow->FCurrentPath, DrivePath("Photos"));
    const auto names = RowNames();
    EXPECT_NE(std::find(names.begin(), names.end(), "later.jpg"), names.end());
    EXPECT_EQ(History().size(), entries);
}

// Ctrl+1 to Ctrl+4 choose the view styles as the pop-up entries do.
TEST_F(KeyboardTest, ViewStylesFromTheKeyboard)
{
    FWindow->ToolButton1->Click();
    const struct {
        Qt::Key key;
        TViewStyle style;
        TToolButton* TfrmQuillet::*button;
    } cases[] = {
        {Qt::Key_1, vsIcon, &TfrmQuillet::tlbtnLargeIcons},
        {Qt::Key_2, vsSmallIcon, &TfrmQuillet::tlbtnSmallIcons},
        {Qt::Key_3, vsList, &TfrmQuillet::tlbtnList},
        {Qt::Key_4, vsReport, &TfrmQuillet::tlbtnReport},
    };
    for (const auto& c : cases) {
        Type(c.key, Qt::ControlModifier);
        EXPECT_EQ(FWindow->lstvwVirtualList->ViewStyle(), c.style);
        EXPECT_TRUE((FWindow->*c.button)->Down());
        EXPECT_FALSE(FWindow->LstViewPicture->Visible());
    }
    EXPECT_FALSE(FWindow->tlbtnLargeIcons->Down());
}

// Shift+F10 and the menu key open the file list's pop-up menu.
TEST_F(KeyboardTest, MenuKeysOpenTheListMenu)
{
    for (auto [key, modifiers] :
         {std::pair{Qt::Key_F10, Qt::ShiftModifier}, std::pair{Qt::Key_Menu, Qt::NoModifier}}) {
        FWindow->lstvwVirtualList->SetFocus();
        QTRY_COMPARE(Focused(), "lstvwVirtualList");
        Type(key, modifiers);
        QMenu* menu = FWindow->pmnViews->Menu();
        ASSERT_NE(menu, nullptr);
        QTRY_VERIFY(menu->isVisible());
        menu->hide();
    }
}

// Every tool-bar command has a key; its button tells a reader which, as the
// key binding of its action, and the key runs the command from anywhere.
TEST_F(KeyboardTest, EveryCommandHasAKeyItsButtonPublishes)
{
    const struct {
        TToolButton* TfrmQuillet::*button;
        const char* key;
    } published[] = {
        {&TfrmQuillet::tlbtnBrowse, "Ctrl+O"},     {&TfrmQuillet::tlbtnUpOneLevel, "Alt+Up"},
        {&TfrmQuillet::tlbtnLargeIcons, "Ctrl+1"}, {&TfrmQuillet::tlbtnSmallIcons, "Ctrl+2"},
        {&TfrmQuillet::tlbtnList, "Ctrl+3"},       {&TfrmQuillet::tlbtnReport, "Ctrl+4"},
        {&TfrmQuillet::ToolButton1, "Ctrl+G"},     {&TfrmQuillet::ToolButton3, "Ctrl+Shift+P"},
    };
    for (const auto& p : published) {
        QAccessibleInterface* button =
            QAccessible::queryAccessibleInterface((FWindow->*p.button)->Widget());
        ASSERT_NE(button, nullptr);
        QAccessibleActionInterface* actions = button->actionInterface();
        ASSERT_NE(actions, nullptr) << p.key;
        const QString action = actions->actionNames().value(0);
        EXPECT_EQ(actions->keyBindingsForAction(action), QStringList{p.key});
        EXPECT_EQ(button->text(QAccessible::Accelerator), p.key);
        // The hints stay as they were: the key is not added to the tool tip.
        EXPECT_FALSE((FWindow->*p.button)->Widget()->toolTip().contains(p.key));
    }

    // Browse asks for a folder and opens it.
    FDialogs.pickerAnswers.push_back(DrivePath("Photos"));
    FWindow->lstvwVirtualList->SetFocus();
    QTRY_COMPARE(Focused(), "lstvwVirtualList");
    Type(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(FDialogs.pickerCaptions.size(), 1u);
    EXPECT_EQ(FWindow->FCurrentPath, DrivePath("Photos"));

    // The gallery, from the path box as well.
    FWindow->FocusPathBox(nullptr);
    Type(Qt::Key_G, Qt::ControlModifier);
    EXPECT_TRUE(FWindow->LstViewPicture->Visible());

    // A playback options window; Escape hides it again, Ctrl+W a second one.
    const auto optionWindows = [] {
        int shown = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowTitle() == QString::fromUtf8("播放設定介面")) ++shown;
        return shown;
    };
    for (Qt::Key close : {Qt::Key_Escape, Qt::Key_W}) {
        Type(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        ASSERT_EQ(optionWindows(), 1);
        QWidget* options = QApplication::activeWindow();
        QTRY_VERIFY(QApplication::focusWidget() &&
                    QApplication::focusWidget()->window() != FWindow->Widget());
        Type(close, close == Qt::Key_W ? Qt::ControlModifier : Qt::NoModifier);
        EXPECT_EQ(optionWindows(), 0);
        (void)options;
        FWindow->Widget()->activateWindow();
        FWindow->FocusPathBox(nullptr);
        QTRY_COMPARE(Focused(), "cmbxPath");
    }
}
