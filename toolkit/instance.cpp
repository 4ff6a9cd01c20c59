#include "toolkit/instance.h"

namespace {
HINSTANCE g_instance = nullptr;
}

void SetToolkitInstance(HINSTANCE instance) { g_instance = instance; }
HINSTANCE GetToolkitInstance() { return g_instance; }
