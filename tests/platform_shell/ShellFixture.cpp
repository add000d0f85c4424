#include "tests/platform_shell/ShellFixture.h"

#include "platform/base/Drives.h"
#include "platform/shell/ShellDiagnostics.h"

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

void ShellTest::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    setenv("QUILLET_DRIVES", ("C=" + dir.path().toStdString()).c_str(), 1);
    ReloadDriveMap();
    ShellDiagnostics::Reset();
    blocksBefore = ShellDiagnostics::LiveBlocks();
    objectsBefore = ShellDiagnostics::LiveObjects();
    ASSERT_EQ(S_OK, SHGetDesktopFolder(desktop.put()));
}

void ShellTest::TearDown()
{
    desktop.reset();
    ShellDiagnostics::Reset();
    EXPECT_EQ(objectsBefore, ShellDiagnostics::LiveObjects())
        << "a folder or enumerator was not released";
    EXPECT_EQ(blocksBefore, ShellDiagnostics::LiveBlocks())
        << "an item id list or string was not freed";
    unsetenv("QUILLET_DRIVES");
    ReloadDriveMap();
}

std::string ShellTest::PosixPath(const std::string& name) const
{
    return dir.path().toStdString() + "/" + name;
}

void ShellTest::MakeFile(const std::string& name, const std::string& contents)
{
    const int fd = open(PosixPath(name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << name;
    ASSERT_EQ(static_cast<ssize_t>(contents.size()), write(fd, contents.data(), contents.size()));
    close(fd);
}

void ShellTest::MakeFolder(const std::string& name)
{
    ASSERT_EQ(0, mkdir(PosixPath(name).c_str(), 0755)) << name;
}

HRESULT ShellTest::Parse(const std::string& text, OwnedId& id)
{
    LPOLESTR wide = StringToOleStr(text);
    ULONG eaten = 0, attributes = 0;
    const HRESULT hr =
        desktop->ParseDisplayName(nullptr, nullptr, wide, &eaten, id.put(), &attributes);
    SysFreeString(wide);
    return hr;
}

ComRef<IShellFolder> ShellTest::Bind(const std::string& text)
{
    OwnedId id;
    ComRef<IShellFolder> folder;
    EXPECT_EQ(S_OK, Parse(text, id)) << text;
    if (id.get()) {
        EXPECT_EQ(S_OK,
                  desktop->BindToObject(id.get(), nullptr, IID_IShellFolder, folder.putVoid()))
            << text;
    }
    return folder;
}

std::vector<OwnedId> ShellTest::Children(IShellFolder* folder, DWORD flags)
{
    std::vector<OwnedId> ids;
    ComRef<IEnumIDList> enumerator;
    EXPECT_EQ(S_OK, folder->EnumObjects(nullptr, flags, enumerator.put()));
    if (!enumerator) return ids;
    LPITEMIDLIST id = nullptr;
    ULONG fetched = 0;
    while (enumerator->Next(1, &id, &fetched) == S_OK) ids.emplace_back(id);
    EXPECT_EQ(S_FALSE, enumerator->Next(1, &id, &fetched));  // stays at the end
    return ids;
}

std::string ShellTest::Name(IShellFolder* folder, LPCITEMIDLIST id, DWORD flags)
{
    STRRET name{};
    if (FAILED(folder->GetDisplayNameOf(id, flags, &name))) return "<failed>";
    switch (name.uType) {
    case STRRET_OFFSET: return reinterpret_cast<const char*>(id) + name.uOffset;
    case STRRET_CSTR: return name.cStr;
    case STRRET_WSTR: {
        int n = WideCharToMultiByte(CP_ACP, 0, name.pOleStr, -1, nullptr, 0, nullptr, nullptr);
        std::string text(static_cast<size_t>(n), '\0');
        WideCharToMultiByte(CP_ACP, 0, name.pOleStr, -1, text.data(), n, nullptr, nullptr);
        text.pop_back();
        ComRef<IMalloc> malloc;
        if (SUCCEEDED(SHGetMalloc(malloc.put()))) malloc->Free(name.pOleStr);
        return text;
    }
    default: return "<unknown>";
    }
}

std::vector<std::string> ShellTest::Names(IShellFolder* folder, DWORD flags)
{
    std::vector<std::string> names;
    for (const OwnedId& id : Children(folder, flags)) names.push_back(Name(folder, id.get()));
    std::sort(names.begin(), names.end());
    return names;
}

SFGAOF ShellTest::Attributes(IShellFolder* folder, LPCITEMIDLIST id)
{
    SFGAOF attributes = SFGAO_FOLDER | SFGAO_FILESYSTEM;
    EXPECT_EQ(S_OK, folder->GetAttributesOf(1, &id, &attributes));
    return attributes;
}
