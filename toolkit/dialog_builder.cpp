#include "toolkit/dialog_builder.h"

#include "support/files_win.h"
#include "support/text.h"
#include "toolkit/container.h"
#include "toolkit/markup.h"
#include "toolkit/paint_manager.h"

namespace {

// Layout files are a few kilobytes; anything huge is not a layout.
constexpr unsigned long long kMaxLayoutBytes = 4ULL * 1024 * 1024;

CControlUI* MakeBuiltIn(const std::string& name) {
    if (MarkupNameEquals(name, "Control") || MarkupNameEquals(name, "Picture"))
        return new CControlUI;
    if (MarkupNameEquals(name, "Label"))
        return new CLabelUI;
    if (MarkupNameEquals(name, "Text")) {
        auto* text = new CLabelUI;
        text->SetAttribute("multiline", "true");
        return text;
    }
    if (MarkupNameEquals(name, "Button"))
        return new CButtonUI;
    if (MarkupNameEquals(name, "Container"))
        return new CContainerUI;
    if (MarkupNameEquals(name, "VerticalLayout"))
        return new CVerticalLayoutUI;
    if (MarkupNameEquals(name, "HorizontalLayout"))
        return new CHorizontalLayoutUI;
    if (MarkupNameEquals(name, "TabLayout"))
        return new CTabLayoutUI;
    return nullptr;
}

CControlUI* BuildControl(const MarkupNode& node, IDialogBuilderCallback* callback) {
    CControlUI* control = MakeBuiltIn(node.name);
    if (control == nullptr && callback != nullptr)
        control = callback->CreateControl(Utf8ToWide(node.name.c_str()).c_str());
    if (control == nullptr)
        return nullptr; // unknown class: skipped with everything inside it
    for (const auto& attribute : node.attributes)
        control->SetAttribute(attribute.first, attribute.second);
    if (CContainerUI* container = control->AsContainer())
        for (const MarkupNode& child : node.children)
            container->Add(BuildControl(child, callback));
    return control;
}

void ApplyFont(const MarkupNode& node, CPaintManagerUI& manager) {
    int id = 0;
    int size = kDefaultFontPixels;
    bool bold = false;
    bool isDefault = false;
    std::wstring face = kDefaultFontFace;
    for (const auto& a : node.attributes) {
        if (a.first == "id")
            id = ParseInt(a.second).value_or(id);
        else if (a.first == "name")
            face = Utf8ToWide(a.second.c_str());
        else if (a.first == "size")
            size = ParseInt(a.second).value_or(size);
        else if (a.first == "bold")
            bold = ParseBool(a.second).value_or(false);
        else if (a.first == "default")
            isDefault = ParseBool(a.second).value_or(false);
    }
    if (size > 0 && size < 200)
        manager.AddFont(id, face, size, bold, isDefault);
}

void ApplyWindow(const MarkupNode& node, CPaintManagerUI& manager) {
    for (const auto& a : node.attributes) {
        if (a.first == "size") {
            if (const auto v = ParseInts(a.second, 2); v && (*v)[0] > 0 && (*v)[1] > 0)
                manager.SetInitSize((*v)[0], (*v)[1]);
        } else if (a.first == "caption") {
            if (const auto v = ParseInt(a.second); v && *v >= 0)
                manager.SetCaptionHeight(*v);
        } else if (a.first == "bkcolor") {
            if (const auto c = ParseColor(a.second))
                manager.SetBkColor(*c);
        } else if (a.first == "accentcolor") {
            if (const auto c = ParseColor(a.second))
                manager.SetAccentColor(*c);
        }
    }
    for (const MarkupNode& child : node.children)
        if (MarkupNameEquals(child.name, "Font"))
            ApplyFont(child, manager);
}

} // namespace

CControlUI* CDialogBuilder::Create(const std::wstring& file, IDialogBuilderCallback* callback,
                                   CPaintManagerUI* manager, CControlUI* parent) {
    std::string bytes;
    if (file.empty() ||
        !ReadWholeFile(CPaintManagerUI::GetResourcePath() + file, bytes, kMaxLayoutBytes))
        return nullptr;
    return CreateFromText(bytes, callback, manager, parent);
}

CControlUI* CDialogBuilder::CreateFromText(const std::string& text,
                                           IDialogBuilderCallback* callback,
                                           CPaintManagerUI* manager, CControlUI* parent) {
    MarkupNode document;
    if (!ParseMarkup(text, document))
        return nullptr;

    // A layout is either one control element, or a Window element holding
    // fonts and exactly one control: the window's root.
    CControlUI* root = nullptr;
    if (MarkupNameEquals(document.name, "Window")) {
        if (manager != nullptr)
            ApplyWindow(document, *manager);
        for (const MarkupNode& child : document.children) {
            if (MarkupNameEquals(child.name, "Font"))
                continue;
            root = BuildControl(child, callback);
            if (root != nullptr)
                break;
        }
    } else {
        root = BuildControl(document, callback);
    }
    if (root == nullptr)
        return nullptr;
    if (CContainerUI* container = parent != nullptr ? parent->AsContainer() : nullptr)
        container->Add(root);
    return root;
}
