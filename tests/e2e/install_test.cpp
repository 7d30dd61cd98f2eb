// The built setup program under Wine: silent installations into the default folder and into folders
// named with /D, Keyloom started as its shortcut starts it, an installation over a used one, the
// uninstaller, what stops both before any change; the pages in Russian and English
// (installer_pages.sh) and the portable zip unpacked (portable_zip.sh).
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "file_association.h"
#include "form_expectations.h"
#include "installation.h"
#include "keystore/win/keys_window.h"
#include "reader_scenario.h"
#include "screen_capture.h"

namespace {

const std::vector<std::string> kRecordZero = {"0000", "0", "01", "0", std::string(17, '*'), "Factory key"};
const char* const kDataFiles[] = {"crkeys.data", "zipkeys.data", "usersData.data", "appconfig.ini", "cardJournal.csv"};
const char* const kProgramFiles[] = {"program\\keyloom.exe", install::kHelpFile, "program\\uninstall.exe"};
const char kBlankFolder[] = "C:\\Card tools\\Keyloom for gate 2";
const char kPlainFolder[] = "C:\\KL";

void SetText(HWND control, const std::string& text) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000,
                      &ignored);
}

class InstallScenario : public ReaderScenario {
 protected:
  void SetUp() override {
    ReaderScenario::SetUp();
    runDir_ = workDir_;
    install::RemoveInstallation(kFolders);
  }
  void TearDown() override {
    ReaderScenario::TearDown();
    install::RemoveInstallation(kFolders);
  }

  // The installed files have the bytes of the build, the program files in the program folder and
  // none in the working folder; the shortcuts start the program in the working folder with its icon,
  // and the Uninstall entry describes the installation.
  void ExpectInstalledIn(const std::string& folder) {
    const std::map<std::string, std::string> files = {
        {"program\\keyloom.exe", FileBytes(BuildPath("keyloom.exe"))},
        {install::kHelpFile, FileBytes(BuildPath(install::kHelpFile))},
        {"crkeys.data", ShippedKeys()},
        {"usersData.data", ""},
    };
    uintmax_t bytes = 0;
    for (const auto& [name, content] : files) {
      const std::string path = folder + "\\" + name;
      EXPECT_TRUE(Exists(path)) << path;
      EXPECT_TRUE(FileBytes(path) == content) << path << " differs from the build";
      bytes += content.size();
    }
    EXPECT_FALSE(files.at("program\\keyloom.exe").empty());
    const std::string uninstaller = folder + "\\program\\uninstall.exe";
    ASSERT_TRUE(Exists(uninstaller));
    bytes += std::filesystem::file_size(uninstaller);
    for (const char* name : {"keyloom.exe", "uninstall.exe"}) EXPECT_FALSE(Exists(folder + "\\" + name)) << name;

    const std::string program = folder + "\\program\\keyloom.exe";
    for (const std::string& path : install::ShortcutPaths()) {
      SCOPED_TRACE(path);
      install::Shortcut shortcut;
      ASSERT_TRUE(install::ReadShortcut(path, &shortcut));
      EXPECT_EQ(shortcut.target, program);
      EXPECT_EQ(shortcut.workDir, folder);
      EXPECT_EQ(shortcut.iconPath, program);
      EXPECT_EQ(shortcut.iconIndex, 0);
    }

    const std::map<std::string, std::string> texts = {
        {"DisplayName", "Keyloom 1.01 (x64)"},
        {"DisplayVersion", "1.01"},
        {"Publisher", "Keyloom"},
        {"DisplayIcon", program + ",0"},
        {"InstallLocation", folder},
        {"UninstallString", "\"" + uninstaller + "\""},
        {"QuietUninstallString", "\"" + uninstaller + "\" /S"},
    };
    for (const auto& [name, value] : texts) EXPECT_EQ(install::EntryText(name.c_str()), value) << name;
    EXPECT_EQ(install::EntryNumber("VersionMajor"), 1u);
    EXPECT_EQ(install::EntryNumber("VersionMinor"), 1u);
    EXPECT_NEAR(install::EntryNumber("EstimatedSize"), bytes / 1024.0, 4) << "kilobytes";
  }

  // Keyloom is started as its Start-menu shortcut starts it.
  void UseShortcut() {
    install::Shortcut shortcut;
    ASSERT_TRUE(install::ReadShortcut(install::ShortcutPaths().front(), &shortcut));
    keyloomExe_ = shortcut.target;
    workDir_ = shortcut.workDir;
  }

  // The keys list shows the shipped key list: record 0 alone.
  void ExpectShippedKeysListed(HWND main) {
    HWND keys = OpenKeysList(main, kIdShowList);
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(KeysListRows(keys, 1), (std::vector<std::vector<std::string>>{kRecordZero}));
    CloseKeysList(keys);
  }

  // Started in its folder, Keyloom finds the simulated reader, lists the shipped key list with
  // record 0 and has the shell open its own help document, with no report.
  void ExpectRunsInItsFolder() {
    WriteFile("appconfig.ini", "Language = EN;\r\n");
    HWND main = StartConnected({}, "COM3");
    ASSERT_NE(main, nullptr);
    ExpectShippedKeysListed(main);

    const std::string opened = runDir_ + "\\opened.pdf";
    FileAssociation viewer(".pdf", FileAssociation::kCopyingViewer, opened);
    ASSERT_TRUE(viewer.ready());
    ui::PostCommand(main, kCommandHelp);
    EXPECT_TRUE(Eventually([&] { return FileBytes(opened) == FileBytes(BuildPath(install::kHelpFile)); }))
        << "the shell did not open the help document";
    ExpectNoBox(1000);
  }

  std::map<std::string, std::string> DataFiles(const std::string& folder) {
    std::map<std::string, std::string> data;
    for (const char* name : kDataFiles) data[name] = FileBytes(folder + "\\" + name);
    return data;
  }

  void ExpectDataFiles(const std::string& folder, const std::map<std::string, std::string>& expected) {
    for (const auto& [name, bytes] : DataFiles(folder)) {
      EXPECT_TRUE(bytes == expected.at(name)) << name << " changed: " << bytes.size() << " bytes";
    }
  }

  const std::vector<std::string> kFolders = {install::kDefaultFolder, "C:\\Card tools", kPlainFolder};
  std::string runDir_;
};

TEST_F(InstallScenario, SilentInstallIntoTheDefaultFolderRunsFromItsShortcut) {
  ASSERT_EQ(install::RunSetup("/S"), 0);
  ExpectInstalledIn(install::kDefaultFolder);
  UseShortcut();
  EXPECT_EQ(workDir_, install::kDefaultFolder);
  ExpectRunsInItsFolder();

  // A running keyloom.exe cannot be replaced: the silent setup program gives up and installs nothing
  // (the help it would bring back stays missing).
  const std::string help = std::string(install::kDefaultFolder) + "\\" + install::kHelpFile;
  ASSERT_TRUE(DeleteFileA(help.c_str()));
  EXPECT_EQ(install::RunSetup("/S"), 2);
  EXPECT_FALSE(Exists(help));
}

// /D names the folder (last, without quotes even with blanks); a folder and its parents are created.
// As the setup program sets the folder's access rights anew, it refuses a folder of other files.
// A second installation elsewhere takes the shortcuts and the Uninstall entry over: removing
// the first one leaves them to it.
TEST_F(InstallScenario, SilentInstallIntoTheFolderNamedWithD) {
  answerSearchReports_ = true;
  const std::string notes = std::string(kPlainFolder) + "\\notes.txt";
  std::filesystem::create_directories(kPlainFolder);
  WriteBytes(notes, "someone else's notes");
  const std::map<std::string, std::string> before = install::Traces(kPlainFolder);
  EXPECT_EQ(install::RunSetup("/S /D=" + std::string(kPlainFolder)), 2);
  EXPECT_EQ(install::Traces(kPlainFolder), before);
  ASSERT_TRUE(DeleteFileA(notes.c_str()));

  for (const std::string folder : {kBlankFolder, kPlainFolder}) {
    SCOPED_TRACE(folder);
    ASSERT_EQ(install::RunSetup("/S /D=" + folder), 0);
    ExpectInstalledIn(folder);
    UseShortcut();
    HWND main = StartReady(true);
    ASSERT_NE(main, nullptr);
    ExpectShippedKeysListed(main);
    ui::Terminate(&program());
  }
  const std::string first = kBlankFolder;
  const std::string second = kPlainFolder;
  EXPECT_EQ(install::RunUninstaller(first), 0);
  EXPECT_FALSE(Exists(first + "\\program\\keyloom.exe"));
  EXPECT_TRUE(Exists(first + "\\appconfig.ini"));
  ExpectInstalledIn(second);

  ASSERT_TRUE(install::UninstallQuietly());
  EXPECT_FALSE(Exists(second + "\\program"));
  EXPECT_TRUE(Exists(second + "\\appconfig.ini"));
  for (const std::string& path : install::ShortcutPaths()) EXPECT_FALSE(Exists(path)) << path;
}

// What keeps the setup program and the uninstaller from finishing: either says so with a non-zero
// exit code before it has changed anything of the installation (its files, shortcuts and Uninstall
// entry), and goes through once the obstacle is gone.
enum class Obstacle { kKeyloomOnAnotherDesktop, kFileHeldOpen, kNotElevated };
struct Blocked {
  const char* what;
  Obstacle obstacle;
  const char* file;  // in the installation folder
  bool stopsUninstaller;
  int exitCode;
};
const Blocked kBlocked[] = {
    {"Keyloom runs where no window of this desktop finds it", Obstacle::kKeyloomOnAnotherDesktop,
     "program\\keyloom.exe", true, 2},
    {"a viewer holds the help open", Obstacle::kFileHeldOpen, install::kHelpFile, true, 2},
    {"an older version's keyloom.exe in the working folder is held open", Obstacle::kFileHeldOpen, "keyloom.exe",
     false, 2},
    {"run without elevation", Obstacle::kNotElevated, "", true, 740},
};

TEST_F(InstallScenario, AnObstacleStopsSetupAndUninstallerBeforeAnyChange) {
  const std::string folder = install::kDefaultFolder;
  ASSERT_EQ(install::RunSetup("/S"), 0);
  for (const Blocked& row : kBlocked) {
    SCOPED_TRACE(row.what);
    // The installation is an older one, so that a run that replaced anything would show.
    const std::string file = folder + "\\" + row.file;
    WriteBytes(folder + "\\" + install::kHelpFile, "an older help");
    if (row.obstacle != Obstacle::kKeyloomOnAnotherDesktop) {
      WriteBytes(folder + "\\program\\keyloom.exe", "an older keyloom.exe");
    }
    if (row.obstacle == Obstacle::kFileHeldOpen) WriteBytes(file, "an older file");
    WriteBytes(folder + "\\appconfig.ini", "Language = EN;\r\n");

    ui::Program running;
    HANDLE held = INVALID_HANDLE_VALUE;
    if (row.obstacle == Obstacle::kKeyloomOnAnotherDesktop) {
      ASSERT_TRUE(install::StartOnAnotherDesktop(file, folder, &running));
    }
    if (row.obstacle == Obstacle::kFileHeldOpen) {
      // As a viewer opens a file: others may read it, but neither write nor delete it.
      held = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
      ASSERT_NE(held, INVALID_HANDLE_VALUE);
    }
    const install::Rights rights =
        row.obstacle == Obstacle::kNotElevated ? install::Rights::kLimited : install::Rights::kElevated;
    const std::map<std::string, std::string> before = install::Traces(folder);
    EXPECT_EQ(install::RunSetup("/S", rights), row.exitCode);
    EXPECT_EQ(install::Traces(folder), before) << "the setup program changed the installation";
    if (row.stopsUninstaller) {
      EXPECT_EQ(install::RunUninstaller(folder, rights), row.exitCode);
      EXPECT_EQ(install::Traces(folder), before) << "the uninstaller changed the installation";
    }

    ui::Terminate(&running);
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    EXPECT_EQ(install::RunSetup("/S"), 0);
    ExpectInstalledIn(folder);
  }
}

// A technician has used the installation: issued a code, added a key, chosen English. Installing
// again (an update or a repair) replaces the program files and keeps those four files as they are;
// uninstalling removes the program and keeps them too.
TEST_F(InstallScenario, ReinstallAndUninstallKeepTheUsersData) {
  const std::string folder = install::kDefaultFolder;
  ASSERT_EQ(install::RunSetup("/S"), 0);
  UseShortcut();
  answerSearchReports_ = true;
  HWND main = StartReady(true);
  ASSERT_NE(main, nullptr);
  ChooseView(main, kUserCard, kModeSectorData);
  ui::PostCommand(main, kIdGenerateUnique);
  HWND keys = OpenKeysList(main, kIdAddToList);
  ASSERT_NE(keys, nullptr);
  EXPECT_EQ(KeysListRows(keys, 1).size(), 1u);
  SetText(ui::Control(keys, kIdKeysKeyEdit), "0A 1B 2C 3D 4E 5F");
  SetText(ui::Control(keys, kIdKeysDescriptionEdit), "Gate A");
  ui::PostCommand(keys, kIdKeysAddNew, BN_CLICKED);
  EXPECT_TRUE(Eventually([&] { return Exists(folder + "\\zipkeys.data"); })) << "the key was not stored";
  CloseKeysList(keys);
  ASSERT_TRUE(CloseMain(main));
  // The journal of the cards written here; no reader is plugged in to write one.
  WriteBytes(folder + "\\cardJournal.csv", "\xFF\xFE");

  const std::map<std::string, std::string> used = DataFiles(folder);
  for (const auto& [name, bytes] : used) ASSERT_FALSE(bytes.empty()) << name << " was not written";
  ASSERT_NE(used.at("crkeys.data"), ShippedKeys());

  // An older version's program files are replaced, and the copies it kept in the working folder go.
  WriteBytes(folder + "\\program\\keyloom.exe", "an older keyloom.exe");
  WriteBytes(folder + "\\keyloom.exe", "an older keyloom.exe");
  WriteBytes(folder + "\\uninstall.exe", "an older uninstaller");
  WriteBytes(folder + "\\" + install::kHelpFile, "an older help");
  ASSERT_EQ(install::RunSetup("/S"), 0);
  EXPECT_TRUE(FileBytes(folder + "\\program\\keyloom.exe") == FileBytes(BuildPath("keyloom.exe")));
  for (const char* name : {"keyloom.exe", "uninstall.exe"}) EXPECT_FALSE(Exists(folder + "\\" + name)) << name;
  EXPECT_EQ(FileBytes(folder + "\\" + install::kHelpFile), FileBytes(BuildPath(install::kHelpFile)));
  ExpectDataFiles(folder, used);

  // A lost key list comes back from its spare copy, not as the shipped one.
  ASSERT_TRUE(DeleteFileA((folder + "\\crkeys.data").c_str()));
  ASSERT_EQ(install::RunSetup("/S"), 0);
  ExpectDataFiles(folder, used);

  ASSERT_TRUE(install::UninstallQuietly()) << "the uninstaller did not finish";
  for (const char* name : kProgramFiles) EXPECT_FALSE(Exists(folder + "\\" + name)) << name;
  EXPECT_FALSE(Exists(folder + "\\help"));
  EXPECT_FALSE(Exists(folder + "\\program"));
  for (const std::string& path : install::ShortcutPaths()) EXPECT_FALSE(Exists(path)) << path;
  EXPECT_FALSE(install::EntryExists());
  ExpectDataFiles(folder, used);
}

// The welcome and the folder page, and the refusal of a run without elevation, follow the Windows
// interface language: installer_pages.sh runs this scenario in the locale that KEYLOOM_SETUP_LANGUAGE
// names, and the setup programs it starts inherit it. Their images are saved in the build tree
// (installer-pages-*.bmp) to be looked at.
class InstallerPages : public ::testing::Test {
 protected:
  void SetUp() override { install::RemoveInstallation({install::kDefaultFolder}); }
  void TearDown() override { install::RemoveInstallation({install::kDefaultFolder}); }
};

TEST_F(InstallerPages, FollowTheInterfaceLanguage) {
  const char* language = std::getenv("KEYLOOM_SETUP_LANGUAGE");
  if (language == nullptr) GTEST_SKIP() << "run by installer_pages.sh";
  ASSERT_TRUE(std::string(language) == "russian" || std::string(language) == "english") << language;
  const Language pages = std::string(language) == "russian" ? kRussian : kEnglish;
  const std::string images = BuildPath("installer-pages-" + std::string(language));
  ui::Program setup;
  ASSERT_TRUE(install::StartSetup("", install::Rights::kElevated, &setup));
  HWND wizard = ui::WaitTopWindow(setup.process.dwProcessId, "#32770", 15000);
  ASSERT_NE(wizard, nullptr) << "no setup window";
  // The wizard is shown a moment before its first page names it.
  EXPECT_TRUE(Eventually([&] { return ui::Text(wizard) == TextIn(shown::kSetupTitle, pages); }))
      << ui::Text(wizard);
  EXPECT_EQ(ui::Text(ui::Control(wizard, IDOK)), TextIn(shown::kSetupNext, pages));
  ui::Pause(500);
  EXPECT_TRUE(SaveWindowImage(wizard, images + "-welcome.bmp"));

  // Welcome, components, folder.
  for (int page = 0; page < 2; ++page) {
    ui::PostCommand(wizard, IDOK);
    ui::Pause(500);
  }
  HWND folderEdit = nullptr;
  ASSERT_TRUE(Eventually([&] {
    folderEdit = FindWindowExA(FindWindowExA(wizard, nullptr, "#32770", nullptr), nullptr, "Edit", nullptr);
    return folderEdit != nullptr;
  })) << "no folder page";
  EXPECT_EQ(ui::Text(folderEdit), install::kDefaultFolder);
  EXPECT_TRUE(SaveWindowImage(wizard, images + "-folder.bmp"));
  ui::Terminate(&setup);
  EXPECT_FALSE(install::EntryExists());

  // Without elevation it says why it stops, and installs nothing.
  ui::Program refused;
  ASSERT_TRUE(install::StartSetup("", install::Rights::kLimited, &refused));
  ui::MessageBoxView box;
  ASSERT_TRUE(ui::WaitMessageBox(refused.process.dwProcessId, kEventWaitMs, &box, ""));
  EXPECT_EQ(box.text, TextIn(shown::kSetupRefusal, pages));
  ui::Pause(500);
  EXPECT_TRUE(SaveWindowImage(box.window, images + "-refusal.bmp"));
  EXPECT_TRUE(ui::PressDialogButton(box.window, IDOK));
  DWORD exitCode = 0;
  EXPECT_TRUE(ui::WaitExit(&refused, kEventWaitMs, &exitCode));
  EXPECT_EQ(exitCode, 740u);
  ui::Terminate(&refused);
  EXPECT_FALSE(Exists(install::kDefaultFolder));
  EXPECT_FALSE(install::EntryExists());
}

// The portable zip, unpacked by portable_zip.sh into the folder KEYLOOM_PORTABLE_DIR names: the
// folder "Keyloom ver_1_01" holds the files of an installation, and Keyloom runs in it.
class PortableZip : public InstallScenario {};

TEST_F(PortableZip, RunsWhereItIsUnpacked) {
  const char* unpacked = std::getenv("KEYLOOM_PORTABLE_DIR");
  if (unpacked == nullptr) GTEST_SKIP() << "run by portable_zip.sh";
  const std::string folder = std::string(unpacked) + "\\Keyloom ver_1_01";
  const std::map<std::string, std::string> expected = {
      {"crkeys.data", ShippedKeys()},
      {"help\\Keyloom ver_1_01.pdf", FileBytes(BuildPath(install::kHelpFile))},
      {"keyloom.exe", FileBytes(BuildPath("keyloom.exe"))},
      {"usersData.data", ""},
  };
  std::map<std::string, std::string> found;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    const std::string relative = std::filesystem::relative(entry.path(), folder).string();
    found[relative] = FileBytes(entry.path().string());
  }
  EXPECT_TRUE(found == expected) << found.size() << " files unpacked";
  keyloomExe_ = folder + "\\keyloom.exe";
  workDir_ = folder;
  ExpectRunsInItsFolder();
}

}  // namespace
