// The result window's two custom controls: containers that fill themselves
// from a sub-layout in the current skin folder.
#pragma once

#include "toolkit/container.h"

class CCheckResultUI : public CContainerUI {
public:
    CCheckResultUI();
    const wchar_t* GetClass() const override { return L"CheckResultUI"; }
};

class CCheckHeaderUI : public CContainerUI {
public:
    CCheckHeaderUI();
    const wchar_t* GetClass() const override { return L"CheckHeaderUI"; }
};
