#include "tests/platform_shell/ShellFixture.h"

#include "platform/shell/ComObj.h"
#include "platform/shell/ShellDiagnostics.h"
#include "platform/shell/private/ItemId.h"
#include "platform/shell/private/NaturalOrder.h"

#include <algorithm>
#include <string>
#include <vector>

TEST_F(ShellTest, TheAllocatorCountsLiveBlocks)
{
    ComRef<IMalloc> malloc;
    ASSERT_EQ(S_OK, SHGetMalloc(malloc.put()));
    const long before = ShellDiagnostics::LiveBlocks();
    void* a = malloc->Alloc(10);
    void* b = malloc->Alloc(0);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(before + 2, ShellDiagnostics::LiveBlocks());
    EXPECT_GE(malloc->GetSize(a), 10u);
    a = malloc->Realloc(a, 100);
    EXPECT_EQ(before + 2, ShellDiagnostics::LiveBlocks());
    malloc->Free(a);
    malloc->Free(b);
    malloc->Free(nullptr);
    EXPECT_EQ(before, ShellDiagnostics::LiveBlocks());

    // Wide strings come from the same allocator.
    LPOLESTR wide = StringToOleStr("caf\xE9");
    EXPECT_EQ(before + 1, ShellDiagnostics::LiveBlocks());
    EXPECT_EQ(0xDCE9, wide[3]);
    SysFreeString(wide);
    EXPECT_EQ(before, ShellDiagnostics::LiveBlocks());
}

// Exhaustion: calls that hand out lists fail cleanly and leak nothing. (An
// allocator that cannot be had is met where a list is given back:
// AnOwnedListIsFreedOnce below, and the window's open in its own tests.)
TEST_F(ShellTest, ExhaustionFailsEveryCallThatHandsOutAList)
{
    MakeFile("a");
    ComRef<IShellFolder> root = Bind("C:\\");
    ASSERT_TRUE(root);
    ComRef<IEnumIDList> enumerator;
    ASSERT_EQ(S_OK, root->EnumObjects(nullptr, 0xE0, enumerator.put()));
    LPOLESTR path = StringToOleStr("C:\\a");
    ShellDiagnostics::FailAlloc(true);
    LPITEMIDLIST id = nullptr;
    ULONG fetched = 7;
    EXPECT_EQ(E_OUTOFMEMORY, enumerator->Next(1, &id, &fetched));
    EXPECT_EQ(0u, fetched);
    OwnedId parsed;
    EXPECT_EQ(E_OUTOFMEMORY,
              desktop->ParseDisplayName(nullptr, nullptr, path, nullptr, parsed.put(), nullptr));
    EXPECT_EQ(nullptr, parsed.get());
    EXPECT_EQ(nullptr, StringToOleStr("x"));
    OwnedId special;
    EXPECT_EQ(E_OUTOFMEMORY, SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, special.put()));
    ShellDiagnostics::FailAlloc(false);
    SysFreeString(path);
    OwnedId again;
    EXPECT_EQ(S_OK, Parse("C:\\a", again));
}

TEST_F(ShellTest, CountsEveryLiveReference)
{
    const long before = ShellDiagnostics::LiveObjects();
    ComRef<IShellFolder> root = Bind("C:\\");
    ComRef<IShellFolder> shared = ComRef<IShellFolder>::Share(root.get());
    ComRef<IEnumIDList> enumerator;
    ASSERT_EQ(S_OK, root->EnumObjects(nullptr, 0xE0, enumerator.put()));
    EXPECT_EQ(before + 3, ShellDiagnostics::LiveObjects());
    root.reset();
    shared.reset();
    enumerator.reset();
    EXPECT_EQ(before, ShellDiagnostics::LiveObjects());
}

// A held list is freed once: by Free, by the holder that last has it, or by
// the assignment that replaces it. Without the allocator Free raises and the
// holder keeps the list, so nothing is lost and nothing is freed twice.
TEST_F(ShellTest, AnOwnedListIsFreedOnce)
{
    MakeFile("a");
    const long before = ShellDiagnostics::LiveBlocks();
    {
        OwnedIdList first;
        ASSERT_EQ(S_OK, Parse("C:\\a", first));
        OwnedIdList second;
        ASSERT_EQ(S_OK, Parse("C:\\", second));
        EXPECT_EQ(before + 2, ShellDiagnostics::LiveBlocks());

        OwnedIdList moved(std::move(first));
        EXPECT_EQ(nullptr, first.get());
        moved = std::move(second);
        EXPECT_EQ(before + 1, ShellDiagnostics::LiveBlocks());

        ShellDiagnostics::FailGetMalloc(E_FAIL);
        LPITEMIDLIST kept = moved.get();
        EXPECT_THROW(moved.Free(), EOleSysError);
        EXPECT_EQ(kept, moved.get());
        ShellDiagnostics::FailGetMalloc(S_OK);
        moved.Free();
        EXPECT_EQ(nullptr, moved.get());
        EXPECT_EQ(before, ShellDiagnostics::LiveBlocks());
        moved.Free();

        ASSERT_EQ(S_OK, Parse("C:\\a", moved));
        LPITEMIDLIST given = moved.release();
        OwnedIdList(given).Free();
        ASSERT_EQ(S_OK, Parse("C:\\a", moved));
        ASSERT_EQ(S_OK, Parse("C:\\", moved));  // the out-argument lets the first go
        EXPECT_EQ(before + 1, ShellDiagnostics::LiveBlocks());
    }
    EXPECT_EQ(before, ShellDiagnostics::LiveBlocks());
}

// A large folder's ids are cut from one arena, yet each is a block of the
// allocator of its own: counted, sized, moved by Realloc and freed once, in
// any order; the arena goes with the last of them, also when the enumerator
// is let go before handing them all out.
TEST_F(ShellTest, ALargeFoldersIdsAreBlocksOfTheirOwnInOneArena)
{
    constexpr int kFiles = 1500;  // over 16 KB of ids
    std::vector<std::string> made;
    for (int i = 0; i < kFiles; ++i) {
        made.push_back("arena entry " + std::to_string(i));
        MakeFile(made.back());
    }
    std::sort(made.begin(), made.end(), [](const std::string& a, const std::string& b) {
        return CompareNatural(a.c_str(), b.c_str()) < 0;
    });
    ComRef<IShellFolder> root = Bind("C:\\");
    ASSERT_TRUE(root);
    const int arenas = ShellDiagnostics::LiveIdArenas();
    const long blocks = ShellDiagnostics::LiveBlocks();
    {
        std::vector<OwnedId> ids = Children(root.get());
        ASSERT_EQ(ids.size(), made.size());
        EXPECT_EQ(ShellDiagnostics::LiveIdArenas(), arenas + 1);
        EXPECT_EQ(ShellDiagnostics::LiveBlocks(), blocks + kFiles);
        for (int i = 0; i < kFiles; ++i) ASSERT_EQ(Name(root.get(), ids[i].get()), made[i]);

        ComRef<IMalloc> malloc;
        ASSERT_EQ(S_OK, SHGetMalloc(malloc.put()));
        const std::string name = Name(root.get(), ids[7].get());
        const auto* entry = reinterpret_cast<const BYTE*>(ids[7].get());
        EXPECT_EQ(malloc->GetSize(ids[7].get()), ItemId::EntrySize(entry) + 2u);
        // Realloc moves an id out of the arena, its bytes with it.
        LPITEMIDLIST grown = static_cast<LPITEMIDLIST>(malloc->Realloc(ids[7].release(), 4096));
        ASSERT_TRUE(grown);
        ids[7] = OwnedId(grown);
        EXPECT_EQ(Name(root.get(), grown), name);
        EXPECT_GE(malloc->GetSize(grown), 4096u);
        EXPECT_EQ(ShellDiagnostics::LiveBlocks(), blocks + kFiles);

        // Freed out of order, every other one first: the arena stays.
        for (int i = 0; i < kFiles; i += 2) ids[i].Free();
        EXPECT_EQ(ShellDiagnostics::LiveIdArenas(), arenas + 1);
        EXPECT_EQ(Name(root.get(), ids[kFiles - 1].get()), made[kFiles - 1]);
    }
    EXPECT_EQ(ShellDiagnostics::LiveIdArenas(), arenas);
    EXPECT_EQ(ShellDiagnostics::LiveBlocks(), blocks);

    // An enumerator let go part-way frees what it did not hand out.
    ComRef<IEnumIDList> enumerator;
    ASSERT_EQ(S_OK, root->EnumObjects(nullptr, 0xE0, enumerator.put()));
    OwnedId first;
    ASSERT_EQ(S_OK, enumerator->Next(1, first.put(), nullptr));
    ASSERT_EQ(S_OK, enumerator->Skip(10));
    enumerator.reset();
    EXPECT_EQ(ShellDiagnostics::LiveBlocks(), blocks + 1);
    EXPECT_EQ(ShellDiagnostics::LiveIdArenas(), arenas + 1);
    first.Free();
    EXPECT_EQ(ShellDiagnostics::LiveIdArenas(), arenas);

    // Out of memory before the first id: nothing is made, nothing is kept.
    ASSERT_EQ(S_OK, root->EnumObjects(nullptr, 0xE0, enumerator.put()));
    ShellDiagnostics::FailAlloc(true);
    LPITEMIDLIST none = nullptr;
    EXPECT_EQ(E_OUTOFMEMORY, enumerator->Next(1, &none, nullptr));
    ShellDiagnostics::FailAlloc(false);
    EXPECT_EQ(nullptr, none);
    enumerator.reset();
    EXPECT_EQ(ShellDiagnostics::LiveIdArenas(), arenas);
    EXPECT_EQ(ShellDiagnostics::LiveBlocks(), blocks);
}
