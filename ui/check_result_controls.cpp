#include "ui/check_result_controls.h"

#include "toolkit/dialog_builder.h"

namespace {

// No factory, manager or parent: a sub-layout cannot hold these controls
// itself, so a layout can never include itself forever.
void FillFromSubLayout(CContainerUI& container, const wchar_t* file) {
    CDialogBuilder builder;
    CControlUI* tree = builder.Create(file);
    if (tree != nullptr)
        container.Add(tree);
    else
        container.RemoveAll();
}

} // namespace

CCheckResultUI::CCheckResultUI() {
    FillFromSubLayout(*this, L"checkresult.xml");
}

CCheckHeaderUI::CCheckHeaderUI() {
    FillFromSubLayout(*this, L"checkheader.xml");
}
