// The UI toolkit: a retained-mode tree of windowless controls inside one
// native window, built from XML layout files in a skin folder.
#pragma once

#include "toolkit/accessible.h"
#include "toolkit/container.h"
#include "toolkit/control.h"
#include "toolkit/dialog_builder.h"
#include "toolkit/paint_manager.h"
#include "toolkit/window.h"
