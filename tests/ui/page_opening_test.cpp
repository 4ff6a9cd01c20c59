#include "ui/page_opening.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records which way was asked, in order, and answers as scripted.
struct Ways {
    bool desktopWorks = true;
    bool directWorks = true;
    std::vector<std::string> asked;

    PageOpeners Openers() {
        return PageOpeners{[this](const std::wstring& address) {
                               asked.push_back("desktop " + Narrow(address));
                               return desktopWorks;
                           },
                           [this](const std::wstring& address) {
                               asked.push_back("direct " + Narrow(address));
                               return directWorks;
                           }};
    }
    static std::string Narrow(const std::wstring& ascii) {
        return std::string(ascii.begin(), ascii.end());
    }
};

const std::wstring kPage = L"http://static.tavolex.com/faq/n5_faq_en.html";
const std::string kPageText = "http://static.tavolex.com/faq/n5_faq_en.html";

} // namespace

TEST(PageOpening, AnElevatedProcessAsksTheDesktopShellOnly) {
    Ways ways;
    EXPECT_TRUE(OpenWebPage(kPage, true, ways.Openers()));
    EXPECT_EQ(std::vector<std::string>{"desktop " + kPageText}, ways.asked);
}

TEST(PageOpening, AnElevatedProcessNeverOpensThePageItself) {
    // The desktop shell cannot take it: a failure the window reports, not a
    // start from this process.
    Ways ways;
    ways.desktopWorks = false;
    EXPECT_FALSE(OpenWebPage(kPage, true, ways.Openers()));
    EXPECT_EQ(std::vector<std::string>{"desktop " + kPageText}, ways.asked);
}

TEST(PageOpening, AProcessThatIsNotElevatedOpensThePageItself) {
    Ways ways;
    EXPECT_TRUE(OpenWebPage(kPage, false, ways.Openers()));
    EXPECT_EQ(std::vector<std::string>{"direct " + kPageText}, ways.asked);
    ways.asked.clear();
    ways.directWorks = false;
    EXPECT_FALSE(OpenWebPage(kPage, false, ways.Openers()));
    EXPECT_EQ(std::vector<std::string>{"direct " + kPageText}, ways.asked);
}
