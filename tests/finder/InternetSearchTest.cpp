#include "finder/InternetSearch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "finder/frmsearch.h"
#include "platform/UserFolders.h"
#include "tests/support/FakeServices.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/ScriptedEventLoop.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using test::Exists;
using test::ReadFile;
using test::WriteFile;

// The query of a URL as a server reads it: pairs split at "&" and the first "=", "+" read as a
// blank and %XX as the byte it stands for.
std::vector<std::pair<std::string, std::string>> QueryOf(const std::string& url) {
  EXPECT_EQ(url.find('#'), std::string::npos) << url;  // a "#" would end the query
  auto decode = [](const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
      if (s[i] == '+') {
        out += ' ';
      } else if (s[i] == '%' && i + 2 < s.size()) {
        out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
        i += 2;
      } else {
        out += s[i];
      }
    }
    return out;
  };
  std::vector<std::pair<std::string, std::string>> pairs;
  std::string query = url.substr(url.find('?') + 1);
  for (std::size_t start = 0; start <= query.size();) {
    std::size_t end = query.find('&', start);
    if (end == std::string::npos) end = query.size();
    const std::string pair = query.substr(start, end - start);
    const std::size_t eq = pair.find('=');
    pairs.emplace_back(decode(pair.substr(0, eq)), eq == std::string::npos ? "" : decode(pair.substr(eq + 1)));
    start = end + 1;
  }
  return pairs;
}

TEST(ReplaceString, ReplacesEveryOccurrenceIgnoringCaseAndResumesBehindEachReplacement) {
  struct Case {
    const char *text, *find, *with, *expected;
  } const cases[] = {
      {"cd ripper  free", " ", "+", "cd+ripper++free"},
      {"a B b", "b", "x", "a x x"},
      {"aaa", "a", "aa", "aaaaaa"},  // a replacement holding the text is not replaced again
      {"ABAB", "ab", "-", "--"},
      {"xAbCy", "aBc", "", "xy"},
      {"no match", "z", "y", "no match"},
      {"", " ", "+", ""},
      {" edges ", " ", "_", "_edges_"},
      {"Ärger ärger", "ä", "ae", "aerger aerger"},
      {"keep", "", "x", "keep"},
  };
  for (const Case& c : cases) EXPECT_EQ(ReplaceString(c.text, c.find, c.with), c.expected) << c.text;
}

TEST(EncodeKeywords, BlanksBecomePlusAndEverythingThatCouldBreakTheQueryIsEscaped) {
  EXPECT_EQ(EncodeKeywords("cd ripper  free"), "cd+ripper++free");
  EXPECT_EQ(EncodeKeywords("rock & roll #1 100%"), "rock+%26+roll+%231+100%25");
  EXPECT_EQ(EncodeKeywords("a+b=c?d/e"), "a%2Bb%3Dc%3Fd%2Fe");
  EXPECT_EQ(EncodeKeywords("Björk-mix_v1.0~"), "Bj%C3%B6rk-mix_v1.0~");

  // The engine reads back exactly the keywords typed, and the query keeps its own parts.
  const std::string typed = "rock & roll #1 100% a+b";
  const auto query = QueryOf(*SearchUrl("Google", typed));
  ASSERT_EQ(query.size(), 3u);
  EXPECT_EQ(query[0], (std::pair<std::string, std::string>{"hl", "en"}));
  EXPECT_EQ(query[1], (std::pair<std::string, std::string>{"q", typed}));
  EXPECT_EQ(query[2], (std::pair<std::string, std::string>{"btnG", "Google Search"}));
  EXPECT_EQ(QueryOf(*SearchUrl("Yahoo", typed)), (std::vector<std::pair<std::string, std::string>>{{"p", typed}}));
}

TEST(SearchUrl, EachEngineHasItsPathAndQueryAndOnlyExactNamesAreEngines) {
  const std::map<std::string, std::string> expected = {
      {"Yahoo", "http://search.yahoo.com/bin/search?p=cd+ripper"},
      {"Goto", "http://www.goto.com/d/search/;$sessionid$KRV7Q2M4XW9TB3NH6PLD8ZA?type=home&Keywords=cd+ripper"},
      {"Google", "http://www.google.com/search?hl=en&q=cd+ripper&btnG=Google+Search"},
      {"Altavista", "http://www.altavista.com/sites/search/web?q=cd+ripper=q&kl=XX&search=Search"},
      {"Go", "http://www.go.com/d/search/p/go/;$sessionid$GO5N1R8TC4VJ2WK7HQ3MY6B?Keywords=cd+ripper"},
  };
  std::vector<std::string> names;
  for (const SearchEngine& e : SearchEngines()) {
    names.push_back(e.name);
    EXPECT_EQ(SearchUrl(e.name, "cd ripper"), expected.at(e.name));
    const std::string path = e.path;
    const std::size_t id = path.find(";$sessionid$");
    if (id == std::string::npos) continue;
    const std::string session = path.substr(id + 12);
    EXPECT_EQ(session.size(), 23u) << e.name;
    for (char c : session) EXPECT_TRUE((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) << e.name;
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Yahoo", "Goto", "Google", "Altavista", "Go"}));
  for (const char* notAnEngine : {"google", "GO", "search1", "", "Google "}) {
    EXPECT_FALSE(SearchUrl(notAnEngine, "x").has_value()) << notAnEngine;
  }
}

class RecordingBrowser : public WebBrowser {
 public:
  void Navigate(const std::string& url) override { visited.push_back(url); }
  std::vector<std::string> visited;
};

class InternetSearchTabTest : public ::testing::Test {
 protected:
  test::FakeServices fake;
  test::ScriptedEventLoop& loop = fake.loop;
  test::ScriptedDialogs& dialogs = fake.dialogs;
  frmsearch form{fake.services};
  RecordingBrowser browser;
  test::TempDir programFolder;

  void SetUp() override {
    form.SetWebBrowser(&browser);
    form.SetProgramFolder(programFolder.Path());
    form.Show();
  }
  void PressEnter() {
    int16_t key = 13;
    form.Text3.KeyPress(key);
  }
};

TEST_F(InternetSearchTabTest, TheTabStartsWithItsDesignTextsAndTheFiveEngines) {
  EXPECT_EQ(form.Label4.Caption(), "ENGINE:");
  EXPECT_EQ(form.search1.Text(), "search1");
  EXPECT_EQ(form.search1.GetStyle(), controls::ComboBox::Style::Editable);
  EXPECT_EQ(form.Text3.Text(), "Keywords to search");
  EXPECT_EQ(form.Cmdwebsearch.Caption(), "Search");
  const std::vector<std::string> engines{"Yahoo", "Goto", "Google", "Altavista", "Go"};
  EXPECT_EQ(form.search1.Items(), engines);
  form.Form_Unload();
  form.Show();  // loaded again: the same five, not ten
  EXPECT_EQ(form.search1.Items(), engines);
}

TEST_F(InternetSearchTabTest, TheButtonSearchesWithTheChosenEngineOrSaysOops) {
  form.Cmdwebsearch.Click();  // the design text "search1" is no engine
  form.search1.SetText("google");
  form.Cmdwebsearch.Click();
  EXPECT_TRUE(browser.visited.empty());
  ASSERT_EQ(dialogs.messages.size(), 2u);
  for (const auto& m : dialogs.messages) {
    EXPECT_EQ(m.text, "Invalid Search Engine, Please enter a valid search engine");
    EXPECT_EQ(m.title, "Oops");
    EXPECT_EQ(m.buttons, MsgBoxButtons::OK);
  }
  form.search1.SetListIndex(2);
  form.Text3.SetText("cd ripper");
  form.Cmdwebsearch.Click();
  EXPECT_EQ(browser.visited, (std::vector<std::string>{*SearchUrl("Google", "cd ripper")}));
  EXPECT_EQ(form.search1.Text(), "Google");  // the button keeps the engine
}

TEST_F(InternetSearchTabTest, EnterSearchesThenEmptiesTheEngineBoxSoTheNextEnterSaysOpps) {
  form.search1.SetText("Yahoo");
  form.Text3.SetText("rock & roll");
  int16_t other = 'x';
  form.Text3.KeyPress(other);  // other keys belong to the box
  EXPECT_TRUE(browser.visited.empty());
  EXPECT_EQ(other, 'x');
  PressEnter();
  EXPECT_EQ(browser.visited, (std::vector<std::string>{"http://search.yahoo.com/bin/search?p=rock+%26+roll"}));
  EXPECT_EQ(form.search1.Text(), "");
  PressEnter();
  EXPECT_EQ(browser.visited.size(), 1u);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].title, "Opps");
  EXPECT_EQ(dialogs.messages[0].text, "Invalid Search Engine, Please enter a valid search engine");
}

TEST_F(InternetSearchTabTest, EachActivationRewritesTheStartPageBesideABuildAndShowsIt) {
  std::filesystem::create_directory(programFolder / "pictures");  // a program run from its build folder
  const std::string page = programFolder / "Templat1.htm";
  WriteFile(programFolder / "Templat1.html", "old");
  WriteFile(page, std::string(500, 'x'));  // a longer page from before: nothing of it may stay
  form.window.OnActivate();
  EXPECT_EQ(ReadFile(page), "<html><head><title>title</title></head><body>\r\n\r\n</BODY></HTML>\r\n");
  EXPECT_FALSE(Exists(programFolder / "Templat1.html"));
  EXPECT_EQ(browser.visited, (std::vector<std::string>{page}));

  form.search1.SetText("Go");
  form.Cmdwebsearch.Click();
  form.window.OnActivate();  // back from another window: the answer page gives way to the start page
  ASSERT_EQ(browser.visited.size(), 3u);
  EXPECT_EQ(browser.visited[2], page);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(InternetSearchTabTest, AnInstalledProgramKeepsItsStartPageInTheUserCacheAndAnUnwritablePageIsStillShown) {
  // No pictures beside it: an installed program, whose folder is not written.
  const std::string page = UserCacheFolder() + "/Templat1.htm";
  form.window.OnActivate();
  EXPECT_FALSE(Exists(programFolder / "Templat1.htm"));
  EXPECT_EQ(ReadFile(page), StartPageText());
  EXPECT_EQ(browser.visited, (std::vector<std::string>{page}));

  // A cache folder that cannot be made: nothing written, no message, the browser still asked.
  const std::string saved = std::getenv("XDG_CACHE_HOME");
  WriteFile(programFolder / "not-a-folder", "");
  ::setenv("XDG_CACHE_HOME", (programFolder / "not-a-folder").c_str(), 1);
  const std::string blocked = UserCacheFolder() + "/Templat1.htm";
  EXPECT_FALSE(WriteStartPage(blocked));
  form.window.OnActivate();
  ::setenv("XDG_CACHE_HOME", saved.c_str(), 1);
  EXPECT_EQ(browser.visited.back(), blocked);
  EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace korvalin
