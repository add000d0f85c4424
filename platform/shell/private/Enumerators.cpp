#include "platform/shell/private/Enumerators.h"

#include "platform/base/MappedBlock.h"
#include "platform/base/Messages.h"
#include "platform/shell/ShellDiagnostics.h"
#include "platform/shell/private/FolderOrder.h"
#include "platform/shell/private/FolderReading.h"
#include "platform/shell/private/IdArena.h"
#include "platform/shell/private/ShellInternals.h"

#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

HRESULT EnumeratorBase::Next(ULONG celt, LPITEMIDLIST* ids, ULONG* fetched)
{
    if (fetched) *fetched = 0;
    if (!ids || (celt > 1 && !fetched)) return E_INVALIDARG;
    ULONG count = 0;
    HRESULT status = S_OK;
    while (count < celt) {
        LPITEMIDLIST id = NextOne(&status);
        if (!id) break;
        ids[count++] = id;
    }
    if (fetched) *fetched = count;
    if (FAILED(status) && count == 0) return status;
    return count == celt ? S_OK : S_FALSE;
}

HRESULT EnumeratorBase::Skip(ULONG celt)
{
    for (ULONG i = 0; i < celt; ++i) {
        HRESULT status = S_OK;
        LPITEMIDLIST id = NextOne(&status);
        if (!id) return FAILED(status) ? status : S_FALSE;
        ShellFree(id);
    }
    return S_OK;
}

HRESULT ListEnumerator::Reset()
{
    FNext = 0;
    return S_OK;
}

LPITEMIDLIST ListEnumerator::NextOne(HRESULT* status)
{
    if (FNext >= FChildren.size()) return nullptr;
    LPITEMIDLIST id = ItemId::NewList(FChildren[FNext]);
    if (!id) {
        *status = E_OUTOFMEMORY;
        return nullptr;
    }
    ++FNext;
    return id;
}

FolderEnumerator::~FolderEnumerator()
{
    FreeIds();
    closedir(FDir);
}

namespace {

// The id at next among those written one after another in an arena; next
// moves on past it.
BYTE* takeFromArena(BYTE*& next)
{
    BYTE* id = next;
    next += ItemId::EntryListSize(ItemId::EntrySize(id) - ItemId::kEntryOverhead);
    return id;
}

}  // namespace

void FolderEnumerator::FreeIds()
{
    while (FNextInArena != FEndInArena) ShellFree(takeFromArena(FNextInArena));
    FNextInArena = FEndInArena = nullptr;
    for (size_t i = FNext; i < FIds.size(); ++i) ShellFree(FIds[i]);
    FIds.clear();
    FNext = 0;
}

HRESULT FolderEnumerator::Reset()
{
    FreeIds();
    FRead = false;
    FReadStatus = S_OK;
    rewinddir(FDir);
    return S_OK;
}

namespace {

// E_ABORT: the listing was left to itself because the program is ending.
constexpr HRESULT kAborted = static_cast<HRESULT>(0x80004004);

// Ids made between two looks at the window's messages: a few milliseconds.
constexpr size_t kIdsBetweenMessages = 65536;
// A folder whose ids take this many bytes or more has them made in an arena.
constexpr size_t kArenaFrom = 16 * 1024;
// Limits of a listing (address space, not memory): offsets into the names
// are 32-bit; 134 million entries.
constexpr size_t kNamesLimit = UINT32_MAX;
constexpr size_t kEntriesLimit = size_t{1} << 27;

using Names = MappedArray<char>;
using Listed = MappedArray<ListedEntry>;

using StatHook = std::function<void(const char* name)>;
std::shared_ptr<const StatHook> statHook;

// Lists the entries of the folder open as dir that flags ask for, each name
// appended to names with its zero. Returns false when the names would pass
// 4 GiB or the entries their limit, with the entries listed so far.
// A failed read ends the listing, as readdir's does.
//
// The parts of a large folder are listed on two threads at once: each
// block's entries are counted first, room for them is made under a lock,
// and they are written into it outside the lock.
bool listFolder(int dir, DWORD flags, const StatHook* hook, Listed& listed, Names& names)
{
    struct NamesFull {};
    struct Kept {
        const char* name;
        std::uint16_t length;
        bool folder;
    };
    std::mutex growing;
    try {
        ReadFolderEntries(dir, [&](const EntryBlock& block) {
            std::vector<Kept> kept;
            kept.reserve(kEntriesInBlock);
            size_t bytes = 0;
            block.ForEach([&](const dirent64& entry) {
                const char* name = entry.d_name;
                if (name[0] == '.') {
                    if (name[1] == 0 || (name[1] == '.' && name[2] == 0)) return;
                    if (!(flags & SHCONTF_INCLUDEHIDDEN)) return;
                }
                bool folder = entry.d_type == DT_DIR;
                if (entry.d_type == DT_UNKNOWN || entry.d_type == DT_LNK) {
                    struct stat status {};
                    if (hook) (*hook)(name);
                    folder = fstatat(dir, name, &status, 0) == 0 && S_ISDIR(status.st_mode);
                }
                if (!(flags & (folder ? SHCONTF_FOLDERS : SHCONTF_NONFOLDERS))) return;
                const size_t length = std::strlen(name);
                kept.push_back({name, static_cast<std::uint16_t>(length), folder});
                bytes += length + 1;
            });
            if (kept.empty()) return;
            char* text;
            ListedEntry* entries;
            std::uint32_t offset;
            {
                const std::lock_guard<std::mutex> hold(growing);
                if (names.Size() + bytes >= kNamesLimit ||
                    kept.size() > kEntriesLimit - listed.Size())
                    throw NamesFull();
                offset = static_cast<std::uint32_t>(names.Size());
                // The names first: room left unused by a failure is harmless.
                text = names.Extend(bytes);
                entries = listed.Extend(kept.size());
            }
            for (const Kept& entry : kept) {
                // The first keys are taken while the name is at hand.
                *entries++ = ListName(entry.name, entry.length, offset, entry.folder);
                std::memcpy(text, entry.name, entry.length + 1u);
                text += entry.length + 1;
                offset += entry.length + 1;
            }
        });
    } catch (const NamesFull&) {
        return false;
    }
    return true;
}

}  // namespace

// What the listing thread finds: the entries in the folder's order with
// their names. It owns its own descriptor of the folder, so that a listing
// left behind by a program that ends touches nothing of the enumerator. Its
// arrays grow in place (MappedBlock.h): a million entries are never copied
// to a larger array, and their memory goes back to the system with them.
struct FolderEnumerator::Listing {
    Listing(int folder, bool owned, DWORD flags)
        : fd(folder), owned(owned), flags(flags), hook(statHook)
    {
    }
    ~Listing()
    {
        if (owned) close(fd);
    }
    Listing(const Listing&) = delete;
    Listing& operator=(const Listing&) = delete;

    void Run()
    {
        try {
            if (!listFolder(fd, flags, hook.get(), listed, names)) status = E_OUTOFMEMORY;
            SortListed(listed.Data(), listed.Data() + listed.Size(), names.Data());
        } catch (const std::bad_alloc&) {
            status = E_OUTOFMEMORY;
            listed.Clear();
        }
    }

    int fd;
    bool owned;
    DWORD flags;
    std::shared_ptr<const StatHook> hook;
    Listed listed{kEntriesLimit};
    Names names{kNamesLimit};
    HRESULT status = S_OK;
};

void FolderEnumerator::ReadAll()
{
    FRead = true;
    // The entries are listed and put in order on a thread of their own: on a
    // slow disk one stat can take seconds, and meanwhile the window repaints
    // and a close ends the program. The descriptor is shared with the folder
    // (its offset too), so the listing starts where the folder stands.
    // Without a descriptor of its own the folder is listed here, as it
    // always could be.
    const int fd = fcntl(dirfd(FDir), F_DUPFD_CLOEXEC, 0);
    std::shared_ptr<Listing> listing;
    try {
        listing = std::make_shared<Listing>(fd < 0 ? dirfd(FDir) : fd, fd >= 0, FFlags);
    } catch (const std::bad_alloc&) {
        if (fd >= 0) close(fd);
        FReadStatus = E_OUTOFMEMORY;
        return;
    }
    if (fd < 0) {
        listing->Run();
    } else if (!WaitForWork([listing] { listing->Run(); })) {
        FReadStatus = kAborted;  // the program is ending
        return;
    }
    FReadStatus = listing->status;
    MakeIds(listing->listed, listing->names.Data());
    // The listing's memory goes now, for the records to take (MappedBlock.h):
    // the thread that listed it may hold it a while longer.
    listing->listed.Clear();
    listing->names.Clear();
}

namespace {

// Writes the ids of [first, last) one after another from at on.
void writeIds(const ListedEntry* first, const ListedEntry* last, const char* names, BYTE* at)
{
    for (const ListedEntry* entry = first; entry != last; ++entry) {
        FetchNameAhead(entry, last, names);
        ItemId::WriteEntryList(at, names + entry->offset, entry->length, entry->folder,
                               entry->idKey);
        at += ItemId::EntryListSize(entry->length);
    }
}

// Writes the ids of [first, last) into all, the half from middle on on a
// thread of its own: most of the time goes to the arena's fresh pages,
// which the kernel zero-fills on two cores as fast as on one. The window's
// messages are looked at between pieces of this thread's half; a close
// does not stop it (every id cut is written, so every one can be freed).
// Returns whether the program is ending.
bool writeIdsOnTwoThreads(const ListedEntry* first, const ListedEntry* middle,
                          const ListedEntry* last, const char* names, BYTE* all,
                          size_t middleOffset)
{
    std::thread other;
    if (middle != last) {
        try {
            other = std::thread(writeIds, middle, last, names, all + middleOffset);
        } catch (const std::system_error&) {
            middle = last;
        }
    }
    bool quit = false;
    BYTE* at = all;
    for (const ListedEntry* piece = first; piece != middle;) {
        const ListedEntry* pieceEnd =
            middle - piece > static_cast<std::ptrdiff_t>(kIdsBetweenMessages)
                ? piece + kIdsBetweenMessages
                : middle;
        writeIds(piece, pieceEnd, names, at);
        for (; piece != pieceEnd; ++piece) at += ItemId::EntryListSize(piece->length);
        if (!quit && piece != middle) {
            ProcessMessagesHoldingInput();
            quit = QuitPosted();
        }
    }
    if (other.joinable()) other.join();
    return quit;
}

}  // namespace

void FolderEnumerator::MakeIds(const MappedArray<ListedEntry>& listed, const char* names)
{
    const ListedEntry* const first = listed.Data();
    const ListedEntry* const end = first + listed.Size();
    const ListedEntry* const middle = first + listed.Size() / 2;
    size_t bytes = 0;
    size_t middleOffset = 0;
    for (const ListedEntry* at = first; at != end; ++at) {
        if (at == middle) middleOffset = bytes;
        bytes += ItemId::EntryListSize(at->length);
    }
    // A large folder's ids are made in an arena, in order, one after
    // another: the window walks them front to back.
    if (IdArena* arena = bytes >= kArenaFrom ? OpenIdArena(bytes) : nullptr) {
        auto* all = static_cast<BYTE*>(CutFromArena(arena, bytes, listed.Size()));
        CloseIdArena(arena);
        const bool shared = listed.Size() >= static_cast<size_t>(kSortSharedFrom);
        if (writeIdsOnTwoThreads(first, shared ? middle : end, end, names, all, middleOffset))
            FReadStatus = kAborted;
        FNextInArena = all;
        FEndInArena = all + bytes;
        return;
    }
    try {
        FIds.reserve(listed.Size());
    } catch (const std::bad_alloc&) {
        FReadStatus = E_OUTOFMEMORY;
        return;
    }
    // When memory runs out, the ids made so far are handed out, and the
    // failure reported after them.
    for (const ListedEntry* at = first; at != end; ++at) {
        FetchNameAhead(at, end, names);
        LPITEMIDLIST id =
            ItemId::NewEntryList(names + at->offset, at->length, at->folder, at->idKey);
        if (!id) {
            FReadStatus = E_OUTOFMEMORY;
            break;
        }
        FIds.push_back(id);  // reserved: cannot raise
        // A close is seen between pieces of a large folder's ids too.
        if ((at - first + 1) % kIdsBetweenMessages == 0) {
            ProcessMessagesHoldingInput();
            if (QuitPosted()) {
                FReadStatus = kAborted;
                break;
            }
        }
    }
}

LPITEMIDLIST FolderEnumerator::NextOne(HRESULT* status)
{
    if (!FRead) ReadAll();
    if (FNextInArena != FEndInArena)
        return reinterpret_cast<LPITEMIDLIST>(takeFromArena(FNextInArena));
    if (FNext == FIds.size()) {
        *status = FReadStatus;
        return nullptr;
    }
    return FIds[FNext++];
}

namespace ShellDiagnostics {

void SetStatHook(std::function<void(const char* name)> hook)
{
    statHook = hook ? std::make_shared<const StatHook>(std::move(hook)) : nullptr;
}

}  // namespace ShellDiagnostics
