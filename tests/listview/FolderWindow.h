#pragma once
// A real main window over a temporary folder that stands at drive C:, with
// helpers to make files and to read rows back the way the list asks for them.

#include "platform/base/Classes.h"
#include "tests/support/WindowTest.h"

#include <QApplication>
#include <QDir>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

class FolderWindowTest : public WindowTest {
protected:
    // The POSIX path of the drive root, without a trailing slash.
    QString Root() const { return QString::fromStdString(FDrive->Root()); }
    QString PathOf(const QString& name) const { return Root() + "/" + name; }

    // A file of exactly size bytes; sizes past what is written are left sparse.
    void MakeFile(const QString& name, long long size = 0)
    {
        const int fd = ::open(PathOf(name).toLocal8Bit().constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, size), 0);
        ::close(fd);
    }

    void MakeFolder(const QString& name) { ASSERT_TRUE(QDir(Root()).mkdir(name)); }

    // Empty files item000000.txt, ..., made with plain open/close so 100 000
    // take seconds.
    void MakeManyFiles(int count)
    {
        const std::string folder = FDrive->Root() + "/";
        char name[32];
        for (int i = 0; i < count; ++i) {
            std::snprintf(name, sizeof name, "item%06d.txt", i);
            const int fd = ::open((folder + name).c_str(), O_CREAT | O_WRONLY, 0644);
            ASSERT_GE(fd, 0);
            ::close(fd);
        }
    }

    // Opens the drive root in a new main window (the report view).
    void OpenWindow()
    {
        CreateWindow();
        FWindow->OpenFolderPath("C:\\");
    }

    void ShowAtFixedSize()
    {
        frmQuillet->SetWindowState(wsNormal);
        frmQuillet->SetBounds(0, 0, 900, 700);
        frmQuillet->Show();
        Settle();
    }

    static void Settle()
    {
        for (int i = 0; i < 20; ++i) QApplication::processEvents();
    }

    int RowCount() const { return frmQuillet->FShellItems->GetCount(); }

    int RowOf(const AnsiString& name) const
    {
        for (int i = 0; i < RowCount(); ++i) {
            if (frmQuillet->GetShellItem(i)->Name == name) return i;
        }
        ADD_FAILURE() << "no row named " << name;
        return -1;
    }

    PShellItem* Record(const AnsiString& name) const
    {
        return frmQuillet->GetShellItem(RowOf(name));
    }

    int LoadedCount() const
    {
        int loaded = 0;
        for (int i = 0; i < RowCount(); ++i)
            loaded += frmQuillet->GetShellItem(i)->NeedsDetails ? 0 : 1;
        return loaded;
    }

    void LoadAll() { frmQuillet->lstvwVirtualListDataHint(nullptr, 0, RowCount() - 1); }

    // What the row request hands the list: caption, then the sub-items.
    std::vector<AnsiString> RowTexts(int row) const
    {
        TListItem item(frmQuillet->lstvwVirtualList, row);
        frmQuillet->lstvwVirtualListData(frmQuillet->lstvwVirtualList, &item);
        std::vector<AnsiString> texts{item.Caption};
        for (int i = 0; i < item.SubItems->GetCount(); ++i) texts.push_back(item.SubItems->Get(i));
        return texts;
    }
};
