// Where a layout file puts a control, for the end-to-end tests' clicks: the
// toolkit's own reader and layout place the controls in the file's window at
// its authored size (100 %), and the centre of the named one is printed in
// client pixels, "x y". Run in a skin folder: layout_centre <layout file> <name>
// The program's own controls stand in as plain ones of the size the file
// gives them; a control on a tab page is placed with its page shown.
#include "toolkit/container.h"
#include "toolkit/dialog_builder.h"
#include "toolkit/paint_manager.h"

#include <cstdio>
#include <memory>

namespace {

constexpr int kNotFound = 2; // no window layout in the file, or no such control
constexpr int kUsage = 64;

struct StandIns : IDialogBuilderCallback {
    CControlUI* CreateControl(const wchar_t*) override { return new CControlUI; }
};

void ShowPagesHolding(CControlUI* control) {
    for (CControlUI* child = control; CContainerUI* parent = child->GetParent(); child = parent)
        if (auto* tab = dynamic_cast<CTabLayoutUI*>(parent))
            for (int i = 0; i < tab->GetCount(); ++i)
                if (tab->GetItemAt(i) == child)
                    tab->SelectItem(i);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3)
        return kUsage;
    StandIns standIns;
    CPaintManagerUI window; // only takes the window's size from the file
    const std::unique_ptr<CControlUI> root(CDialogBuilder().Create(argv[1], &standIns, &window));
    const SIZE size = window.GetInitSize();
    CControlUI* control = root ? root->FindControl(argv[2]) : nullptr;
    if (control == nullptr || size.cx <= 0 || size.cy <= 0)
        return kNotFound;
    ShowPagesHolding(control);
    root->SetPos(RECT{0, 0, size.cx, size.cy});
    const RECT r = control->GetPos();
    std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    return 0;
}
