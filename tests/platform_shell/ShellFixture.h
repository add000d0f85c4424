#pragma once
// A temporary folder mapped as drive C:, a desktop folder, and checks that
// every test gives back each block and object it was handed.

#include "platform/shell/ComRef.h"
#include "platform/shell/OwnedIdList.h"
#include "platform/shell/ShlObj.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <vector>

// An item id list owned by the test, freed through the shell allocator.
using OwnedId = OwnedIdList;

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a file of the given bytes (raw name bytes, relative to C:).
    void MakeFile(const std::string& name, const std::string& contents = "x");
    void MakeFolder(const std::string& name);
    std::string PosixPath(const std::string& name) const;

    HRESULT Parse(const std::string& text, OwnedId& id);
    ComRef<IShellFolder> Bind(const std::string& text);
    // Child ids of folder, in enumeration order.
    std::vector<OwnedId> Children(IShellFolder* folder, DWORD flags = 0xE0);
    // Normal or parsing name of id relative to folder, as 8-bit text.
    std::string Name(IShellFolder* folder, LPCITEMIDLIST id, DWORD flags = SHGDN_NORMAL);
    std::vector<std::string> Names(IShellFolder* folder, DWORD flags = 0xE0);
    SFGAOF Attributes(IShellFolder* folder, LPCITEMIDLIST id);

    QTemporaryDir dir;
    ComRef<IShellFolder> desktop;
    long blocksBefore = 0;
    long objectsBefore = 0;
};
