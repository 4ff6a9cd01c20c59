#include "probes/com_text.h"

namespace {
BSTR SystemAllocate(const OLECHAR* text, UINT length) {
    return SysAllocStringLen(text, length);
}
BstrAllocator g_allocate = SystemAllocate;
} // namespace

BstrAllocator SetBstrAllocator(BstrAllocator allocator) {
    const BstrAllocator previous = g_allocate;
    g_allocate = allocator != nullptr ? allocator : SystemAllocate;
    return previous;
}

BstrOwner MakeBstr(const std::wstring& text) {
    BSTR value = g_allocate(text.data(), static_cast<UINT>(text.size()));
    if (value == nullptr)
        throw ComTextError(E_OUTOFMEMORY);
    return BstrOwner(value);
}
