// Plain text onto the Windows clipboard.
#pragma once

#include <windows.h>

#include <string>

// Replaces the clipboard's contents with `text` as CF_UNICODETEXT, owned by
// `owner`. False when the clipboard stayed busy (another program holds it
// open) or memory ran out; the clipboard is then left as it was.
bool PutTextOnClipboard(HWND owner, const std::wstring& text);
