#include "ui/findings_text.h"

#include "toolkit/accessible_names.h"
#include "ui/string_ids.h"

namespace {

constexpr wchar_t kLineEnd[] = L"\r\n";

// A driver text keeps its line feeds when it is not outdated, and adapter
// names often end in a blank: on the clipboard each text is one line
// without blanks around it (CR LF counts as one break).
std::wstring Tidy(const std::wstring& text) {
    std::wstring line;
    line.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
            continue;
        line += (c == L'\r' || c == L'\n') ? L' ' : c;
    }
    const size_t first = line.find_first_not_of(L' ');
    if (first == std::wstring::npos)
        return std::wstring();
    return line.substr(first, line.find_last_not_of(L' ') - first + 1);
}

void AddLine(std::wstring& text, const std::wstring& line) {
    if (line.empty())
        return;
    text += line;
    text += kLineEnd;
}

} // namespace

std::wstring FindingsText(const Findings& findings) {
    std::wstring text;
    AddLine(text, Tidy(findings.title));
    for (const FindingsRow& row : findings.rows) {
        std::vector<std::wstring> parts = {Tidy(row.line)};
        if (parts[0].empty())
            continue;
        parts.push_back(Tidy(row.message));
        for (const FindingsCell& cell : row.cells)
            if (!Tidy(cell.verdict).empty())
                parts.push_back(ComposeGroupName(Tidy(cell.column), {Tidy(cell.verdict)}));
        AddLine(text, ComposeGroupName(std::wstring(), parts));
    }
    for (const std::wstring& line : findings.answer)
        AddLine(text, Tidy(line));
    return text;
}

const std::vector<FindingsRowSource>& FindingsRowSources() {
    static const std::vector<FindingsRowSource> rows = {
        {L"ostext", 0, L"ossupporttext", nullptr, nullptr},
        {L"cputext", 0, nullptr, L"tab_cpu_support_game", L"tab_cpu_support_video"},
        {L"memtext", 0, nullptr, L"tab_mem_support_game", L"tab_mem_support_video"},
        {L"gra1text", 0, nullptr, L"tab_disp_support_game", L"tab_disp_support_video"},
        {L"display_versiontext", 0, nullptr, nullptr, nullptr},
        {L"gra2text", 0, nullptr, L"tab_disp_support_game2", L"tab_disp_support_video2"},
        {L"display_versiontext2", 0, nullptr, nullptr, nullptr},
        // The layout writes "SteamVR" beside the state; the string table
        // has the label in each language.
        {L"steamtext", IDS_LABEL_STEAMVR, nullptr, nullptr, nullptr},
    };
    return rows;
}
