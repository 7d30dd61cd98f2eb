// Scenarios of the language setting: appconfig.ini created on the first start, the title and
// menu in each language, switching from the menu, the choice kept for the next start, and a file
// that cannot be opened or flushed reported.
#include <string>
#include <vector>

#include "expected_texts.h"
#include "harness.h"
#include "linux_side.h"

namespace {

const char kRussianConfig[] = "Language = RU;\r\n";
const char kEnglishConfig[] = "Language = EN;\r\n";
const std::string kRussianTitle = shown::kWindowTitle.russian;
const std::string kEnglishTitle = shown::kWindowTitle.english;

// The menu bar as the probe lists it, for one language: depth, command, flags and text.
std::vector<std::string> ExpectedMenu(Language language) {
  using namespace shown;
  const auto item = [](int depth, int command, const std::string& flags, const std::string& text) {
    return std::to_string(depth) + "\t" + std::to_string(command) + "\t" + flags + "\t" + text;
  };
  return {
      item(0, 0, "P", TextIn(kMenuFile, language)),
      item(1, kCommandQuit, "", TextIn(kMenuQuit, language)),
      item(0, 0, "P", TextIn(kMenuTools, language)),
      item(1, 0, "P", TextIn(kMenuLanguage, language)),
      item(2, kCommandRussian, language == kRussian ? "C" : "", kLanguageRussian),
      item(2, kCommandEnglish, language == kEnglish ? "C" : "", kLanguageEnglish),
      item(1, kCommandCardJournal, "", TextIn(kMenuCardJournal, language)),
      item(0, 0, "P", TextIn(kMenuHelp, language)),
      item(1, kCommandHelp, "", TextIn(kMenuHelpItem, language)),
      item(1, 0, "S", ""),
      item(1, kCommandAbout, "", TextIn(kMenuAbout, language)),
  };
}

// Waits until the title has switched; the menu is rebuilt in the same command.
void WaitForTitle(HWND main, const std::string& title) {
  EXPECT_TRUE(Eventually([&] { return ui::Text(main) == title; })) << "the title stayed " << ui::Text(main);
}

class LanguageScenario : public KeyloomScenario {};

TEST_F(LanguageScenario, FirstStartCreatesTheRussianConfigAndShowsRussian) {
  ASSERT_FALSE(FileExists("appconfig.ini"));
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ReadFile("appconfig.ini"), kRussianConfig);
  EXPECT_EQ(ui::Text(main), kRussianTitle);
  EXPECT_EQ(ui::MenuBarLines(main), ExpectedMenu(kRussian));
}

// A file that names no language, or that cannot be read (held by a backup program that lets
// others write it but not read it), gives Russian and keeps every line it has.
TEST_F(LanguageScenario, AConfigThatGivesNoLanguageIsLeftAlone) {
  const struct {
    const char* name;
    std::string config;
    bool held;
  } cases[] = {
      {"unknown first line", "Language = EN; \r\nLanguage = EN;\r\n", false},
      {"held, not to be read", std::string(kEnglishConfig) + "kept\r\n", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile("appconfig.ini", c.config);
    HANDLE held = INVALID_HANDLE_VALUE;
    if (c.held) {
      held = CreateFileA(PathOf("appconfig.ini").c_str(), GENERIC_READ, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr);
      ASSERT_NE(held, INVALID_HANDLE_VALUE);
    }
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    WaitForTitle(main, kRussianTitle);
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    EXPECT_EQ(ReadFile("appconfig.ini"), c.config);
    WaitUntilIdle(main);
    ASSERT_TRUE(CloseMain(main));
  }
}

TEST_F(LanguageScenario, SwitchingRewritesTheFileRetitlesAndRebuildsTheMenu) {
  WriteFile("appconfig.ini", kEnglishConfig);
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ui::Text(main), kEnglishTitle);
  EXPECT_EQ(ui::MenuBarLines(main), ExpectedMenu(kEnglish));
  WaitUntilIdle(main);

  SwitchLanguage(main, kRussian);
  EXPECT_EQ(ui::MenuBarLines(main), ExpectedMenu(kRussian));
  EXPECT_EQ(ReadFile("appconfig.ini"), kRussianConfig);

  SwitchLanguage(main, kEnglish);
  EXPECT_EQ(ui::MenuBarLines(main), ExpectedMenu(kEnglish));
  EXPECT_EQ(ReadFile("appconfig.ini"), kEnglishConfig);

  // Choosing the active language again rewrites the first line (the file says Russian meanwhile;
  // the program never reads it again) and builds a new menu bar, with no visible change.
  WriteFile("appconfig.ini", std::string(kRussianConfig) + "kept\r\n");
  const HMENU menu = GetMenu(main);
  ui::PostCommand(main, kCommandEnglish);
  EXPECT_TRUE(Eventually([&] { return GetMenu(main) != menu; })) << "the menu bar was not rebuilt";
  EXPECT_EQ(ReadFile("appconfig.ini"), std::string(kEnglishConfig) + "kept\r\n");
  EXPECT_EQ(ui::Text(main), kEnglishTitle);
  EXPECT_EQ(ui::MenuBarLines(main), ExpectedMenu(kEnglish));
}

TEST_F(LanguageScenario, TheNextStartUsesTheLanguageChosenFromTheMenu) {
  HWND main = StartReady();
  ASSERT_NE(main, nullptr);
  SwitchLanguage(main, kEnglish);
  ui::PostCommand(main, kCommandQuit);
  DWORD code = 1;
  ASSERT_TRUE(ui::WaitExit(&program(), 10000, &code));

  main = Start();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ui::Text(main), kEnglishTitle);
  EXPECT_EQ(ui::MenuBarLines(main), ExpectedMenu(kEnglish));
}

TEST_F(LanguageScenario, UnwritableConfigIsReportedAndTheSwitchStillTakesEffect) {
  HWND main = StartReady(true);
  ASSERT_NE(main, nullptr);

  // Another program holds the file without sharing it, so it cannot be opened for writing.
  HANDLE held = CreateFileA(PathOf("appconfig.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ui::PostCommand(main, kCommandRussian);
  ExpectBox("Failed to save settings!\nRestart the program.", kMessageWarning);
  CloseHandle(held);

  WaitForTitle(main, kRussianTitle);
  EXPECT_EQ(ui::MenuBarLines(main), ExpectedMenu(kRussian));
  EXPECT_EQ(ReadFile("appconfig.ini"), kEnglishConfig);
}

// Runs a Linux command in a directory and waits until the directory lists the path or not, as asked.
bool RunLinux(const std::string& dir, const std::string& command, const std::string& path, bool listed) {
  return StartLinux(command, dir.c_str()) && Eventually([&] {
           // Listed rather than asked for its attributes, which a link to a device does not give.
           WIN32_FIND_DATAA found;
           HANDLE search = FindFirstFileA(path.c_str(), &found);
           if (search != INVALID_HANDLE_VALUE) FindClose(search);
           return (search != INVALID_HANDLE_VALUE) == listed;
         });
}

// The disk is full: the line goes into the file's buffer but cannot be flushed to the file,
// here a link to the system's always-full device.
TEST_F(LanguageScenario, AConfigThatCannotBeFlushedIsReported) {
  const std::string config = PathOf("appconfig.ini");
  ASSERT_TRUE(RunLinux(workDir_, "Z:\\bin\\ln -s /dev/full appconfig.ini", config, true));
  // Wine cannot delete the link, and the next clearing of the folder would hang on it: it goes
  // at the end, however the scenario ends.
  struct Unlink {
    const std::string& dir;
    const std::string& path;
    ~Unlink() { EXPECT_TRUE(RunLinux(dir, "Z:\\bin\\rm -f appconfig.ini", path, false)); }
  } unlink{workDir_, config};
  // Its first line reads as zeros: Russian.
  HWND main = StartReady();
  ASSERT_NE(main, nullptr);

  ui::PostCommand(main, kCommandEnglish);
  // In the language still shown.
  ExpectBox(UiTextOf(kRussian).msgSaveSettingsFailed, kMessageWarning, kEventWaitMs, kRussian);
  WaitForTitle(main, kEnglishTitle);
}

}  // namespace
