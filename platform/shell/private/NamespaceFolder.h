#pragma once
// One IShellFolder class for every folder of the namespace: the desktop,
// the drives folder, the home folder, drives and file-system folders. A
// folder knows its absolute item id list and the place it names; questions
// about children are answered from the child ids alone where that is enough
// (names, attributes, order) and through the place otherwise.

#include "platform/shell/private/CountedObject.h"
#include "platform/shell/private/ItemId.h"

#include <atomic>

class NamespaceFolder final : public CountedObject<IShellFolder> {
public:
    NamespaceFolder(ItemId::Bytes absolute, ItemId::Location where);
    ~NamespaceFolder() override;

    HRESULT ParseDisplayName(HWND owner, IBindCtx* bindContext, LPOLESTR displayName, ULONG* eaten,
                             LPITEMIDLIST* id, ULONG* attributes) override;
    HRESULT EnumObjects(HWND owner, DWORD flags, IEnumIDList** enumerator) override;
    HRESULT BindToObject(LPCITEMIDLIST id, IBindCtx* bindContext, REFIID riid,
                         void** object) override;
    HRESULT CompareIDs(LPARAM lParam, LPCITEMIDLIST id1, LPCITEMIDLIST id2) override;
    HRESULT GetAttributesOf(UINT cidl, LPCITEMIDLIST* ids, SFGAOF* inOut) override;
    HRESULT GetDisplayNameOf(LPCITEMIDLIST id, DWORD flags, STRRET* name) override;

    // The entries of this folder's absolute list (no terminator).
    const ItemId::Bytes& Absolute() const { return FAbsolute; }

    // The name of child when it is one file-system entry of this folder and
    // its name is not empty and holds no slash; null otherwise.
    const char* ChildEntryName(LPCITEMIDLIST child) const;
    // A descriptor of this folder, opened the first time it is asked for and
    // closed with the folder, so its children are found without walking the
    // path from the root each time; -1 when the folder cannot be opened (it
    // is tried again next time). Once open it stays on the folder it was
    // opened on, whatever happens to the path.
    int Descriptor();

private:
    ItemId::Bytes FAbsolute;
    ItemId::Location FWhere;
    std::atomic<int> FDescriptor{-1};
};

// Binds the folder named by prefix followed by relative: a new reference in
// *folder, or a failure status (ERROR_DIRECTORY for a file).
HRESULT BindFolder(const ItemId::Bytes& prefix, LPCITEMIDLIST relative, IShellFolder** folder);
// Parses a path text into the entries of an absolute list; folder tells
// whether the last one is a folder.
HRESULT ParseNamespacePath(const AnsiString& text, ItemId::Bytes& entries, bool& folder);
// SFGAO bits of the item whose last entry is entry (null: the desktop).
SFGAOF AttributesOfEntry(const BYTE* entry);
