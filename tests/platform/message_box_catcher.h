// Answers the message boxes a platform test makes the program show, from a second thread, and
// keeps their texts, and which of the files it watches were on disk while a box was up.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

class MessageBoxCatcher {
 public:
  // watched: files of the working directory looked for each time a box is up.
  explicit MessageBoxCatcher(std::vector<std::string> watched = {});
  ~MessageBoxCatcher();
  // The texts of the boxes closed so far, in order; the list is emptied.
  std::vector<std::string> Take();
  // The watched files that existed while one of those boxes was up; emptied too.
  std::set<std::string> TakeFilesSeen();

 private:
  void Run();
  const std::vector<std::string> watched_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::string> texts_;
  std::set<std::string> filesSeen_;
  std::thread thread_;
};
