// Reading an IAccessible tree in tests, as a screen reader would.
#pragma once

#include "support/win_handles.h"

#include <oleacc.h>

#include <string>
#include <vector>

using AccPtr = ComOwner<IAccessible>;

VARIANT AccSelf();
std::wstring AccName(IAccessible* object);
long AccRole(IAccessible* object);
long AccState(IAccessible* object);
// The children, through get_accChild with 1-based indexes.
std::vector<AccPtr> AccChildren(IAccessible* object);
// "role name" per object, depth first, two blanks of indent per level.
void AccDescribe(IAccessible* object, int depth, std::vector<std::wstring>& out);
std::wstring AccLine(long role, const std::wstring& name, int depth = 1);
// The first object in tree order with this name (and role, unless 0).
AccPtr AccFind(IAccessible* root, const std::wstring& name, long role = 0);
