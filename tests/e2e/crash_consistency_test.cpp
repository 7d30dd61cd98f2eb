// keyloom.exe killed with SIGKILL at random moments while "Add new" and "Remove" store the key
// list and while a cyclic write records its codes: after every kill the files hold whole lists
// and whole records, no code of a written card is missing, and the next start clears what was left.
// KEYLOOM_CRASH_RUNS sets the number of kills per scenario.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "card_scenario.h"
#include "key_list_scenario.h"
#include "linux_side.h"
#include "protocol/user_codes.h"

namespace {

const char* const kLeftovers[] = {"keys.data", "TmpKeys.data", "TmpCrKeys.data"};

int CrashRuns() {
  char value[16] = {};
  return GetEnvironmentVariableA("KEYLOOM_CRASH_RUNS", value, sizeof value) ? std::atoi(value) : 5;
}

std::string KeyList(int records) {
  std::string list;
  for (int i = 0; i < records; ++i) {
    char line[128];
    std::snprintf(line, sizeof line, "OI=0 LL=0 DI=0 SB=0 WM=1 SN=01 BN=0 M_KEY=%012X Description=Door %d\n",
                  0x10000 * i + 0xABC, i);
    list += line;
  }
  return list;
}

size_t Lines(const std::string& list) {
  size_t count = 0;
  for (char c : list) count += c == '\n';
  return count;
}

std::string WithoutLine(const std::string& list, size_t n) {
  size_t start = 0;
  for (size_t i = 0; i < n; ++i) start = list.find('\n', start) + 1;
  return list.substr(0, start) + list.substr(list.find('\n', start) + 1);
}

// What the kills found so far, printed after each one.
struct Tally {
  int runs = 0;
  int oldList = 0;
  int newList = 0;
  int zipBehind = 0;
  std::map<std::string, int> left;
  std::string Line(const char* operation) const {
    std::string text = std::string(operation) + ": " + std::to_string(runs) + " kills, crkeys.data old list " +
                       std::to_string(oldList) + ", new list " + std::to_string(newList) +
                       ", zipkeys.data behind crkeys.data " + std::to_string(zipBehind);
    for (const auto& [name, count] : left) text += ", " + name + " left " + std::to_string(count);
    return text;
  }
  void Print(const char* operation, int windowMs) const {
    std::printf("%s (kills within %d ms)\n", Line(operation).c_str(), windowMs);
    std::fflush(stdout);
  }
};

class KeysCrash : public KeyListScenario {
 protected:
  void SetUp() override {
    KeyloomScenario::SetUp();
    WriteFile("appconfig.ini", "Language = EN;\r\n");
  }

  void Seed(int records) {
    const std::string list = KeyList(records);
    WriteFile("crkeys.data", EncryptKeyList(list));
    WriteFile("zipkeys.data", ReadFile("crkeys.data"));
    stored_.insert(list);
  }

  // Starts Keyloom on what the last kill left: the leftovers are gone once its window is there,
  // and the keys list shows the stored list; the list then.
  std::string StartOnStoredList(HWND* keys) {
    std::string list;
    EXPECT_TRUE(DecryptKeyList(ReadFile("crkeys.data"), &list));
    HWND main = Start();
    if (main == nullptr) return list;
    for (const char* name : kLeftovers) EXPECT_FALSE(FileExists(name)) << name << " was not cleared at start";
    WaitUntilIdle(main);
    *keys = OpenKeys(main, kIdShowList, static_cast<int>(Lines(list)));
    return list;
  }

  // Kills Keyloom `ms` after `trigger` has run and waits until it is gone.
  template <typename Trigger>
  void KillAfter(int ms, Trigger trigger) {
    const std::string status = workDir_ + ".kill";
    ASSERT_TRUE(StartKiller(status, ms)) << "the killer did not start";
    trigger();
    const std::string killed = WaitFaultStatus(status, 10000, "ready");
    ASSERT_EQ(killed.rfind("killed ", 0), 0u) << killed;
    ASSERT_EQ(WaitForSingleObject(program().process.hProcess, 10000), WAIT_OBJECT_0);
  }

  // crkeys.data decrypts whole to the list before or after the operation, zipkeys.data to a list
  // that was stored; what else the kill left is counted.
  void CheckAfterKill(const std::string& before, const std::string& after, Tally* tally) {
    std::string crkeys;
    std::string zipkeys;
    ASSERT_TRUE(DecryptKeyList(ReadFile("crkeys.data"), &crkeys)) << "crkeys.data is not whole";
    ASSERT_TRUE(crkeys == before || crkeys == after) << "crkeys.data holds neither list";
    stored_.insert(crkeys);
    ASSERT_TRUE(DecryptKeyList(ReadFile("zipkeys.data"), &zipkeys)) << "zipkeys.data is not whole";
    ASSERT_TRUE(stored_.count(zipkeys)) << "zipkeys.data holds a list that was never stored";
    ++tally->runs;
    ++(crkeys == before ? tally->oldList : tally->newList);
    tally->zipBehind += zipkeys != crkeys;
    for (const char* name : kLeftovers) tally->left[name] += FileExists(name);
  }

  // The time from `start` until the operation has stored its list, both copies, and removed the
  // plain one: twice that is the window the kills fall into, which covers the refresh after it.
  // Only sizes are looked at: a file opened here would make the program's own opening fail.
  int KillWindow(ULONGLONG start) {
    const uint64_t before = SizeOf("crkeys.data");
    for (;;) {
      const uint64_t size = SizeOf("crkeys.data");
      if (size != before && SizeOf("zipkeys.data") == size && !FileExists("keys.data")) break;
      if (GetTickCount64() - start > 10000) break;
      Sleep(1);
    }
    return static_cast<int>(GetTickCount64() - start) * 2;
  }

  uint64_t SizeOf(const std::string& name) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(PathOf(name).c_str(), GetFileExInfoStandard, &data);
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }

  int RandomDelay(int windowMs) { return std::uniform_int_distribution<int>(0, windowMs)(random_); }

  // The kills, each on a new start over the stored list: `operate(run, list)` sets off the
  // operation with its kill at a random moment and gives the list the operation leaves unharmed.
  template <typename Operate>
  void KillAtRandomMoments(const char* operation, int windowMs, HWND* keys, Operate operate) {
    Tally tally;
    for (int run = 0; run < CrashRuns(); ++run) {
      const std::string list = StartOnStoredList(keys);
      ASSERT_NE(*keys, nullptr);
      const std::string after = operate(run, list);
      if (HasFatalFailure()) return;
      CheckAfterKill(list, after, &tally);
      if (HasFatalFailure()) return;
      tally.Print(operation, windowMs);
    }
    StartOnStoredList(keys);
  }

  std::set<std::string> stored_;
  std::mt19937 random_{std::random_device{}()};
};

TEST_F(KeysCrash, AddNewKilledAtRandomMoments) {
  Seed(100);
  HWND keys = nullptr;
  std::string list = StartOnStoredList(&keys);
  ASSERT_NE(keys, nullptr);
  // One "Add new" as it runs unharmed, for its duration and the line it appends.
  SetWindowTextA(ui::Control(keys, kIdKeysDescriptionEdit), "Timed");
  const ULONGLONG start = GetTickCount64();
  ui::PostCommand(keys, kIdKeysAddNew, BN_CLICKED);
  const int windowMs = KillWindow(start);
  ASSERT_TRUE(WaitRows(keys, Lines(list) + 1));
  std::string added;
  ASSERT_TRUE(DecryptKeyList(ReadFile("crkeys.data"), &added));
  const std::string linePrefix = added.substr(list.size(), added.rfind("Timed") - list.size());
  stored_.insert(added);
  ui::Terminate(&program());

  KillAtRandomMoments("Add new", windowMs, &keys, [&](int run, const std::string& before) {
    const std::string description = "Run " + std::to_string(run);
    SetWindowTextA(ui::Control(keys, kIdKeysDescriptionEdit), description.c_str());
    KillAfter(RandomDelay(windowMs), [&] { ui::PostCommand(keys, kIdKeysAddNew, BN_CLICKED); });
    return before + linePrefix + description + "\n";
  });
}

TEST_F(KeysCrash, RemoveKilledAtRandomMoments) {
  Seed(100 + CrashRuns());
  HWND keys = nullptr;
  // Record 1 goes at every run; the question is answered as the kill is set off.
  std::string list = StartOnStoredList(&keys);
  ASSERT_NE(keys, nullptr);
  HWND question = AskRemoval(keys, 1).window;
  const ULONGLONG start = GetTickCount64();
  ui::PressDialogButton(question, IDYES, 0);
  const int windowMs = KillWindow(start);
  ASSERT_TRUE(WaitRows(keys, Lines(list) - 1));
  std::string removed;
  ASSERT_TRUE(DecryptKeyList(ReadFile("crkeys.data"), &removed));
  stored_.insert(removed);
  ui::Terminate(&program());

  KillAtRandomMoments("Remove", windowMs, &keys, [&](int, const std::string& before) {
    HWND question = AskRemoval(keys, 1).window;
    KillAfter(RandomDelay(windowMs), [&] { ui::PressDialogButton(question, IDYES, 0); });
    return WithoutLine(before, 1);
  });
}

// The file as the program writes it for its own codes: ten digits each, a blank between two,
// CR LF after every tenth, no separator at either end.
std::string AsWritten(const std::vector<uint64_t>& codes) {
  UsersDataScan scan;
  std::string file;
  for (uint64_t code : codes) {
    char text[12];
    const size_t n = UsersDataAppendText(scan, code, text);
    file.append(text, n);
    ScanUsersData(scan, reinterpret_cast<const uint8_t*>(text) + n - 10, 10);
  }
  return file;
}

class CyclicWriteCrash : public CardScenario {};

// Every card the reader wrote carries a code that usersData.data holds, and the file holds whole,
// separated records only.
TEST_F(CyclicWriteCrash, KilledAtRandomMomentsKeepsEveryWrittenCode) {
  WriteFile("usersData.data", "");
  const char kMask[] = "\x5A\x17\xC3\x9E\x04\xB2\x6D";
  std::mt19937 random{std::random_device{}()};
  int written = 0;
  int recordedUnwritten = 0;
  for (int run = 0; run < CrashRuns(); ++run) {
    // The reader forgets the command the last kill cut off.
    ASSERT_TRUE(simreader::ControlOk("reset"));
    HWND main = StartConnected();
    ASSERT_NE(main, nullptr);
    Choose(main, kIdCardType, 1);
    Choose(main, kIdWorkMode, 3);
    Press(main, kIdGenerateBeforeWrite);
    CardControl("timeout 1500");
    std::vector<std::string> cards;
    for (int i = 0; i < 4; ++i) {
      cards.push_back("r" + std::to_string(run) + "-" + std::to_string(i) + ".card");
      Queue(cards.back());
    }
    const std::string status = workDir_ + ".kill";
    ASSERT_TRUE(StartKiller(status, std::uniform_int_distribution<int>(0, 6000)(random)));
    Press(main, kIdWriteCyclically);
    const std::string killed = WaitFaultStatus(status, 15000, "ready");
    ASSERT_EQ(killed.rfind("killed ", 0), 0u) << killed;
    ASSERT_EQ(WaitForSingleObject(program().process.hProcess, 10000), WAIT_OBJECT_0);

    const std::string file = ReadFile("usersData.data");
    UsersDataScan scan;
    ScanUsersData(scan, reinterpret_cast<const uint8_t*>(file.data()), file.size());
    ASSERT_EQ(file, AsWritten(scan.codes)) << "usersData.data holds a cut or run-together record";
    const std::set<uint64_t> recorded(scan.codes.begin(), scan.codes.end());
    for (const std::string& card : cards) {
      if (!FileExists(card)) continue;
      const std::string block = CardBlock(card, 1, 0);
      if (block == std::string(16, '\0')) continue;
      uint8_t data[7];
      for (int b = 0; b < 7; ++b) data[b] = static_cast<uint8_t>(~block[8 + b] ^ kMask[b]);
      EXPECT_TRUE(recorded.count(SectorDataCode(data))) << card << " carries a code usersData.data lacks";
      ++written;
    }
    recordedUnwritten = static_cast<int>(recorded.size()) - written;
    std::printf("cyclic write: %d kills, %d cards written, every code recorded; %d codes recorded for a card "
                "the kill stopped\n", run + 1, written, recordedUnwritten);
    std::fflush(stdout);
  }
}

}  // namespace
