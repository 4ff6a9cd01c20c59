// Builds a control tree from a layout file in the current skin folder.
#pragma once

#include <string>

class CControlUI;
class CPaintManagerUI;

// Turns a class name that the toolkit does not know into a control.
class IDialogBuilderCallback {
public:
    virtual CControlUI* CreateControl(const wchar_t* className) = 0;

protected:
    ~IDialogBuilderCallback() = default;
};

class CDialogBuilder {
public:
    // Loads `file` (relative to CPaintManagerUI::GetResourcePath()) and
    // returns the root control, owned by the caller, or nullptr when the file
    // is missing, is not well-formed, or names no control. With a manager,
    // the root element's window attributes and fonts go to it. With a parent
    // container, the root is added to it.
    CControlUI* Create(const std::wstring& file, IDialogBuilderCallback* callback = nullptr,
                       CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);

    // The same from layout text already in memory (UTF-8).
    CControlUI* CreateFromText(const std::string& text, IDialogBuilderCallback* callback = nullptr,
                               CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);
};
