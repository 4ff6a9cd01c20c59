// A window over a layout written by the test itself, in a skin folder beside
// the test program that is removed afterwards.
#pragma once

#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

class TestSkin {
public:
    TestSkin() {
        m_folder = CPaintManagerUI::GetInstancePath() + L"skin_toolkit_test";
        CreateDirectoryW(m_folder.c_str(), nullptr);
    }
    ~TestSkin() {
        for (const std::wstring& f : m_files)
            DeleteFileW(f.c_str());
        RemoveDirectoryW(m_folder.c_str());
    }
    TestSkin(const TestSkin&) = delete;
    TestSkin& operator=(const TestSkin&) = delete;

    void Write(const std::wstring& name, const std::string& bytes) {
        const std::wstring path = m_folder + L"\\" + name;
        FILE* f = _wfopen(path.c_str(), L"wb");
        ASSERT_NE(f, nullptr);
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
        m_files.push_back(path);
    }

private:
    std::wstring m_folder;
    std::vector<std::wstring> m_files;
};

// Records the names of clicked controls.
class TestWindow : public WindowImplBase {
public:
    explicit TestWindow(std::wstring file) : m_file(std::move(file)) {}
    std::vector<std::wstring> clicks;
    int initCalls = 0;

protected:
    const wchar_t* GetWindowClassName() const override { return L"ToolkitTest_Wnd"; }
    std::wstring GetSkinFolder() override { return L"skin_toolkit_test"; }
    std::wstring GetSkinFile() override { return m_file; }
    void InitWindow() override { ++initCalls; }
    void OnClick(TNotifyUI& msg) override {
        clicks.push_back(msg.pSender->GetName());
        WindowImplBase::OnClick(msg);
    }

private:
    std::wstring m_file;
};

// A test window over a layout written into the skin, created with the
// program's window style and laid out; null when it cannot be created.
inline std::unique_ptr<TestWindow> OpenTestWindow(TestSkin& skin, const wchar_t* file,
                                                  const std::string& layout,
                                                  const wchar_t* title = nullptr) {
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    skin.Write(file, layout);
    auto window = std::make_unique<TestWindow>(file);
    if (window->Create(nullptr, title, WINDOW_STYLE_DIALOG, 0) == nullptr)
        return nullptr;
    window->GetPaintManager().UpdateLayout();
    return window;
}
