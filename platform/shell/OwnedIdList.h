#pragma once
// An item id list with exactly one owner: the holder gives the list back to
// the shell allocator when it lets go, so a list it holds is freed once.

#include "platform/shell/ShlObj.h"

#include <utility>

class OwnedIdList {
public:
    OwnedIdList() = default;
    // Takes over a list the caller owns; null holds nothing.
    explicit OwnedIdList(LPITEMIDLIST adopted) noexcept : FId(adopted) {}
    OwnedIdList(OwnedIdList&& other) noexcept : FId(std::exchange(other.FId, nullptr)) {}
    // Lets go of the list held before, as the destructor does.
    OwnedIdList& operator=(OwnedIdList other) noexcept
    {
        std::swap(FId, other.FId);
        return *this;
    }
    // A destructor cannot report: when the allocator cannot be had, the list
    // is left unfreed. Call Free first where the failure can be reported.
    ~OwnedIdList();

    LPITEMIDLIST get() const { return FId; }
    explicit operator bool() const { return FId != nullptr; }
    // Out-argument for calls that hand over a new list; lets go of the old one.
    LPITEMIDLIST* put()
    {
        *this = OwnedIdList();
        return &FId;
    }
    // Gives the list away to the caller.
    LPITEMIDLIST release() { return std::exchange(FId, nullptr); }
    // Frees the list now. Raises EOleSysError with the status when the
    // allocator cannot be had; the holder then keeps the list.
    void Free();

private:
    LPITEMIDLIST FId = nullptr;
};
