// COM texts used by the WMI probes: BSTR allocation that fails loudly.
#pragma once

#include "support/win_handles.h"

#include <exception>
#include <string>

// An allocation of a COM text failed. Only allocation failures raise it; the
// probes let it travel to the check worker, and the owners on the way release
// what was already obtained.
class ComTextError : public std::exception {
public:
    explicit ComTextError(HRESULT code) : m_code(code) {}
    HRESULT code() const { return m_code; }
    const char* what() const noexcept override { return "COM text allocation failed"; }

private:
    HRESULT m_code;
};

// A BSTR copy of the text; raises ComTextError(E_OUTOFMEMORY) when the
// allocation fails. Embedded zero characters are kept.
BstrOwner MakeBstr(const std::wstring& text);

// The allocation MakeBstr uses (SysAllocStringLen). Tests swap in a failing
// one to check that nothing already obtained is leaked; returns the previous.
using BstrAllocator = BSTR (*)(const OLECHAR* text, UINT length);
BstrAllocator SetBstrAllocator(BstrAllocator allocator);
