// Scenarios of the small commands: the help document with its failure reports, the About dialog
// in each language and the ways to close it, and the right-click "Quit" menu.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "expected_texts.h"
#include "file_association.h"
#include "form_expectations.h"
#include "harness.h"
#include "ui/form_layout.h"
#include "x_input.h"

namespace {

// The reports a command shows, in their order.
using Reports = std::vector<Box>;

class SmallCommandsScenario : public KeyloomScenario {
 protected:
  // Runs Keyloom from a copy in its working directory, as it is installed: the shell looks for a
  // relative path next to the program too, and the build's help folder must not answer for it.
  void RunFromWorkDir() {
    const std::string copy = workDir_ + "\\keyloom.exe";
    ASSERT_TRUE(CopyFileA(keyloomExe_.c_str(), copy.c_str(), FALSE));
    keyloomExe_ = copy;
  }

  // Copies the help folder of the build into the working directory.
  void InstallHelp() {
    std::filesystem::copy(BuildPath("help"), std::filesystem::path(workDir_) / "help",
                          std::filesystem::copy_options::recursive);
    ASSERT_TRUE(FileExists("help\\Keyloom ver_1_01.pdf"));
  }

  // In each language a Keyloom of its own is given the menu command and shows the reports in that
  // language, one after the other and no more; the main window is usable again afterwards.
  template <typename ReportsIn>
  void ExpectCommandReportsInEachLanguage(int command, ReportsIn reportsIn) {
    for (Language language : {kEnglish, kRussian}) {
      SCOPED_TRACE(language == kEnglish ? "English" : "Russian");
      HWND main = StartIn(language);
      ASSERT_NE(main, nullptr);
      ui::PostCommand(main, command);
      ExpectBoxes(reportsIn(language), language);
      ExpectNoBox();
      EXPECT_TRUE(Eventually([&] { return ui::Enabled(main); }));
      ui::Terminate(&program());
    }
  }

  HWND OpenAbout(HWND main, const std::string& caption) {
    ui::PostCommand(main, kCommandAbout);
    HWND about = ui::WaitTopWindow(pid(), "#32770", 5000);
    EXPECT_NE(about, nullptr) << "the About dialog did not open";
    if (about) {
      EXPECT_EQ(ui::Text(about), caption);
    }
    return about;
  }
};

TEST_F(SmallCommandsScenario, HelpWithoutItsFolderNamesTheMissingFileInEachLanguage) {
  RunFromWorkDir();
  ExpectCommandReportsInEachLanguage(kCommandHelp, [](Language language) -> Reports {
    return {{TextIn(shown::kHelpNotFound, language), kMessageError},
            {TextIn(shown::kHelpFolderHint, language), kMessageHint}};
  });
}

TEST_F(SmallCommandsScenario, HelpWithoutAPdfViewerAsksForOneInEachLanguage) {
  RunFromWorkDir();
  InstallHelp();
  FileAssociation noViewer(".pdf", FileAssociation::kNoViewer);
  ASSERT_TRUE(noViewer.ready());
  ExpectCommandReportsInEachLanguage(kCommandHelp, [](Language language) -> Reports {
    return {{TextIn(shown::kHelpCannotOpen, language), kMessageWarning},
            {TextIn(shown::kInstallPdfViewer, language), kMessageHint}};
  });
}

// Any other failure of the shell is reported with its code: here the registered viewer's command
// names a file that is no program, for which the shell answers 11 (bad format).
TEST_F(SmallCommandsScenario, HelpReportsAnyOtherShellFailureWithItsCode) {
  RunFromWorkDir();
  InstallHelp();
  FileAssociation brokenViewer(".pdf", FileAssociation::kBrokenViewer);
  ASSERT_TRUE(brokenViewer.ready());
  ExpectCommandReportsInEachLanguage(kCommandHelp, [](Language language) -> Reports {
    return {{TextIn(shown::kHelpOpenFailed, language) + "\n\r[" + TextIn(shown::kErrorCode, language) + ": 11]",
             kMessageError}};
  });
}

// Tools, "Card journal": with no journal yet a hint says so; once there is one, the shell opens it.
TEST_F(SmallCommandsScenario, TheCardJournalOpensOrSaysThereIsNoneYet) {
  const std::string opened = workDir_ + "\\opened.csv";
  FileAssociation viewer(".csv", FileAssociation::kCopyingViewer, opened);
  ASSERT_TRUE(viewer.ready());
  ExpectCommandReportsInEachLanguage(kCommandCardJournal, [](Language language) -> Reports {
    return {{TextIn(shown::kJournalNone, language), kMessageHint}};
  });
  const std::string journal = "\xFF\xFE" + std::string("D\0a\0t\0e\0\r\0\n\0", 12);
  WriteFile("cardJournal.csv", journal);
  HWND main = StartIn(kEnglish);
  ASSERT_NE(main, nullptr);
  ui::PostCommand(main, kCommandCardJournal);
  EXPECT_TRUE(Eventually([&] { return ReadFile("opened.csv") == journal; })) << "the shell did not open the journal";
  ExpectNoBox();
}

TEST_F(SmallCommandsScenario, AboutShowsTheTemplateOfTheActiveLanguage) {
  for (Language language : {kEnglish, kRussian}) {
    SCOPED_TRACE(language == kEnglish ? "English" : "Russian");
    HWND main = StartIn(language);
    ASSERT_NE(main, nullptr);
    HWND about = OpenAbout(main, TextIn(shown::kAboutCaption, language));
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(ui::Enabled(main)) << "the main window stays usable under the About dialog";
    HWND ok = ui::Control(about, IDOK);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ui::Text(ok), "OK");
    std::string text;
    for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (ui::ClassOf(child) == "Static" && ui::Text(child).size() > text.size()) text = ui::Text(child);
    }
    EXPECT_EQ(text.substr(0, text.find('\n')), TextIn(shown::kAboutFirstLine, language));
    EXPECT_NE(text.find("Keyloom\n\n\r"), std::string::npos);
    EXPECT_NE(text.find(":   1.01 (x64)\n\n\r"), std::string::npos);
    EXPECT_NE(text.find("Fernbrook Devices"), std::string::npos);
    ASSERT_TRUE(ui::PressDialogButton(about, IDOK));
    ui::Terminate(&program());
  }
}

TEST_F(SmallCommandsScenario, EscEnterOkAndTheCloseBoxCloseAbout) {
  ASSERT_TRUE(ui::XInputAvailable()) << "no X input server (KEYLOOM_XINPUT)";
  HWND main = StartIn(kEnglish);
  ASSERT_NE(main, nullptr);
  const struct {
    const char* way;
    bool (*close)(HWND about);
  } ways[] = {
      {"Esc", [](HWND) { return ui::PressKey("Escape"); }},
      {"Enter", [](HWND) { return ui::PressKey("Return"); }},
      {"OK button", [](HWND about) { return ui::ClickWindow(ui::Control(about, IDOK)); }},
      {"close box",
       [](HWND about) {
         RECT r;
         GetWindowRect(about, &r);
         const int x = r.right - GetSystemMetrics(SM_CXFIXEDFRAME) - GetSystemMetrics(SM_CXSIZE) / 2 - 2;
         const int y = r.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
         return ui::ClickAt(x, y);
       }},
  };
  for (const auto& w : ways) {
    SCOPED_TRACE(w.way);
    HWND about = OpenAbout(main, "About...");
    ASSERT_NE(about, nullptr);
    ui::Pause(300);
    ASSERT_TRUE(w.close(about));
    EXPECT_TRUE(ui::WaitNoTopWindow(pid(), "#32770", 3000)) << "the About dialog stayed open";
    EXPECT_TRUE(Eventually([&] { return ui::Enabled(main); }));
  }
}

RECT ScreenRect(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return r;
}

POINT CentreOf(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

TEST_F(SmallCommandsScenario, RightClickOffTheControlsOpensTheQuitMenu) {
  ASSERT_TRUE(ui::XInputAvailable()) << "no X input server (KEYLOOM_XINPUT)";
  HWND main = StartIn(kEnglish);
  ASSERT_NE(main, nullptr);
  RECT client;
  GetClientRect(main, &client);
  POINT empty = {client.right / 2, client.bottom - 4};  // below the form's groups
  ClientToScreen(main, &empty);
  const std::vector<HWND> children = FormChildren(main);
  ASSERT_EQ(children.size(), static_cast<size_t>(kExpectedControlCount));
  const POINT label = CentreOf(ScreenRect(children[kRowPortLabel]));
  // Inside the frame of the " Settings " group, beside its controls.
  const RECT settings = ScreenRect(children[kRowSettingsGroup]);
  const POINT group = {settings.left + 4, settings.bottom - 4};
  const POINT button = CentreOf(ScreenRect(ui::Control(main, kIdSearch)));
  const struct {
    const char* where;
    POINT point;
    bool quitMenu;
  } cases[] = {
      {"a button", button, false},
      {"a label", label, true},
      {"a group box", group, true},
      {"an empty part", empty, true},  // last: its menu's "Quit" ends the program
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.where);
    ASSERT_TRUE(ui::ClickAt(c.point.x, c.point.y, 3));
    HWND menu = ui::WaitTopWindow(pid(), "#32768", c.quitMenu ? kEventWaitMs : 700);
    const std::vector<std::string> quitMenu = {"0\t" + std::to_string(kCommandQuit) + "\t\t" +
                                               shown::kMenuQuit.english};
    if (!c.quitMenu) {
      EXPECT_TRUE(menu == nullptr || ui::PopupMenuLines(menu) != quitMenu) << "the Quit menu opened";
      if (menu) ui::PressKey("Escape");
      continue;
    }
    ASSERT_NE(menu, nullptr) << "no pop-up menu opened";
    EXPECT_EQ(ui::PopupMenuLines(menu), quitMenu);
    RECT r;
    GetWindowRect(menu, &r);
    EXPECT_LE(std::abs(r.left - c.point.x), 2);
    EXPECT_LE(std::abs(r.top - c.point.y), 2);
    if (&c != &cases[3]) {
      ASSERT_TRUE(ui::PressKey("Escape"));
      ASSERT_TRUE(ui::WaitNoTopWindow(pid(), "#32768", 2000));
      continue;
    }
    ASSERT_TRUE(ui::ClickAt(r.left + 20, (r.top + r.bottom) / 2));
  }
  DWORD exitCode = 1;
  EXPECT_TRUE(ui::WaitExit(&program(), 5000, &exitCode)) << "choosing Quit did not end the program";
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace
