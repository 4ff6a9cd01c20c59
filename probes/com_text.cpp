#include "probes/com_text.h"

BstrOwner MakeBstr(const std::wstring& text) {
    BSTR value = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (value == nullptr)
        throw ComTextError(E_OUTOFMEMORY);
    return BstrOwner(value);
}
