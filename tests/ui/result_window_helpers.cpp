#include "tests/ui/result_window_helpers.h"

#include "engine/driver_check.h"
#include "support/text.h"

#include <cstdio>
#include <cstdlib>

std::unique_ptr<CCheckResultWnd> OpenWindow(const wchar_t* layout, int language, int code) {
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    auto window = std::make_unique<CCheckResultWnd>(layout, language, code);
    if (window->Create(nullptr, nullptr, WINDOW_STYLE_DIALOG, 0) == nullptr)
        return nullptr;
    window->CenterWindow();
    return window;
}

std::unique_ptr<CCheckResultWnd> OpenSetup(int language, int code) {
    return OpenWindow(L"checkresult_setupwnd.xml", language, code);
}

std::unique_ptr<CCheckResultWnd> OpenCheck(int language) {
    return OpenWindow(L"checkresultwnd.xml", language, -1);
}

CCheckReport TwoAdapterReport() {
    CCheckReport r;
    r.display_info.os = L"Microsoft Windows 10 Pro(64)";
    r.display_info.cpu = L"Intel(R) Core(TM) i7-8700K CPU @ 3.70GHz";
    r.display_info.memory = L"16GB";
    r.display_info.gpu[0] = L"NVIDIA GeForce GTX 1060 6GB ";
    r.display_info.gpu[1] = L"Intel(R) UHD Graphics 630 ";
    r.display_info.dispdriver[0] = L"23.21.13.8813";
    r.display_info.dispdriver[1] = L"26.20.100.7262";
    r.cpu_game = 2;
    r.cpu_video = 0;
    r.mem_support = 0;
    r.gpu1_game = 1;
    r.gpu1_video = 7;
    r.gpu2_game = 0;
    r.gpu2_video = 2;
    r.os_support = 2;
    r.steamvr = 1;
    r.game_result = 2;
    r.video_result = 2;
    r.driver_flags = DRIVER_FLAG_GPU1_OUTDATED | DRIVER_FLAG_GPU2_OUTDATED;
    return r;
}

std::wstring SkinText(const char* lang, const char* name) {
    const char* root = std::getenv("TVX_SOURCE_DIR");
    if (root == nullptr)
        return L"(TVX_SOURCE_DIR not set)";
    // A Unix path reads from the current drive, which ctest's working
    // folder puts on Wine's Z: (the Unix root).
    const std::string path = std::string(root) + "/skins/texts/" + lang + ".cmake";
    FILE* f = fopen(path.c_str(), "rb");
    if (f == nullptr)
        return L"(cannot read " + Utf8ToWide(path.c_str()) + L")";
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0)
        text.append(buffer, n);
    fclose(f);
    const std::string key = std::string("set(") + name + " \"";
    const size_t start = text.find(key);
    if (start == std::string::npos)
        return L"(no " + Utf8ToWide(name) + L")";
    const size_t from = start + key.size();
    const size_t end = text.find("\")", from);
    return Utf8ToWide(text.substr(from, end - from).c_str());
}
