#include "tests/shell/MainWindowFixture.h"

#include "platform/toolkit/ComboBox.h"

#include <QAbstractItemView>

void MainWindowTest::SetUp()
{
    WindowTest::SetUp();
    Populate(*FDrive);
    CreateWindow();
    FWindow->Show();
    Application->ProcessMessages();
}

AnsiString MainWindowTest::DrivePath(const std::string& relative)
{
    AnsiString path = "C:\\";
    for (char c : relative) path += c == '/' ? '\\' : c;
    return path;
}

std::vector<AnsiString> MainWindowTest::RowNames() const
{
    std::vector<AnsiString> names;
    for (int i = 0; i < FWindow->FShellItems->GetCount(); ++i)
        names.push_back(FWindow->GetShellItem(i)->Name);
    return names;
}

int MainWindowTest::RowCount() const
{
    return FWindow->lstvwVirtualList->Items()->GetCount();
}

int MainWindowTest::SelectedRow() const
{
    TListItem* selected = FWindow->lstvwVirtualList->GetSelection();
    return selected ? selected->GetIndex() : -1;
}

std::vector<AnsiString> MainWindowTest::History() const
{
    std::vector<AnsiString> texts;
    TStrings* items = FWindow->cmbxPath->Items();
    for (int i = 0; i < items->GetCount(); ++i) texts.push_back(items->Get(i));
    return texts;
}

bool MainWindowTest::ListDraws() const
{
    auto* view = FWindow->lstvwVirtualList->Widget()->findChild<QAbstractItemView*>();
    return view && view->viewport()->updatesEnabled();
}

void MainWindowTest::SelectRow(int row)
{
    TListView* list = FWindow->lstvwVirtualList;
    list->SetSelection(row < 0 ? nullptr : list->Items()->GetItem(row));
}
