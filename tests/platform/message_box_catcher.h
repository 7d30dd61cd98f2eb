// Answers the message boxes a platform test makes the program show, from a second thread, and
// keeps their texts so the test can compare them.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class MessageBoxCatcher {
 public:
  MessageBoxCatcher();
  ~MessageBoxCatcher();
  // The texts of the boxes closed so far, in order; the list is emptied.
  std::vector<std::string> Take();

 private:
  void Run();
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::string> texts_;
  std::thread thread_;
};
