// Which controls a screen reader sees, as what, and under which name. Only
// shown controls take part. Layout containers without a name are left out
// and their children move up to the nearest object above; an "accrole" of
// "none" does the same to any control.
//
//   Button            push button (a link with accrole="link"), its text
//                     or accname
//   Label, Text       static text, its text (left out when empty)
//   Picture, Control  graphic, only with an accname (its alternative text)
//   container         grouping when it has an accname (its caption) or
//                     accrole="group"; named by what it holds, read in one
//                     line: "VR games: Supported"
#pragma once

#include "toolkit/control.h"

#include <string>
#include <vector>

enum class AccessibleKind { Hidden, Text, Button, Link, Graphic, Group };

AccessibleKind KindOf(const CControlUI& control);
// ROLE_SYSTEM_* of a kind (0 for Hidden).
long RoleOf(AccessibleKind kind);
std::wstring AccessibleNameOf(const CControlUI& control);
// The objects directly below a control (or the client, for the root).
std::vector<CControlUI*> ExposedChildren(const CControlUI& control);
std::vector<CControlUI*> ExposedTopLevel(CControlUI* root);
// The object directly above a control, or null when that is the client.
CControlUI* ExposedParent(const CControlUI& control);
