// The few functions of oleacc.dll the toolkit needs, looked up at run time:
// the program imports no DLL beyond the few that load before its DLL search
// is limited, and a window must work (without screen reader support) where
// oleacc cannot be loaded.
#pragma once

#include <windows.h>

#include <oleacc.h>

// LresultFromObject; 0 when oleacc is not there.
LRESULT AccessibleResult(REFIID iid, WPARAM flags, IUnknown* object);
// CreateStdAccessibleObject for the window's own object (OBJID_WINDOW), the
// parent of a client object; null when it cannot be had.
IAccessible* StandardWindowObject(HWND window);
