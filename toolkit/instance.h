// Placeholder hand-over of the process instance to the UI toolkit, until the
// toolkit's paint manager exists; it then forwards to
// CPaintManagerUI::SetInstance.
#pragma once

#include <windows.h>

void SetToolkitInstance(HINSTANCE instance);
HINSTANCE GetToolkitInstance();
