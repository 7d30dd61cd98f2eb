// Changes which program the system opens files of one extension with (".pdf", ".csv"), for as long
// as the object lives: none at all (as on a PC without a PDF viewer), a "viewer" whose command is no
// program, or a viewer that copies the file it is given, so a scenario sees which file the shell opened.
#pragma once

#include <string>

class FileAssociation {
 public:
  enum Kind { kNoViewer, kBrokenViewer, kCopyingViewer };

  // kCopyingViewer copies each opened file to copyTo (a Windows path).
  FileAssociation(const std::string& extension, Kind kind, const std::string& copyTo = std::string());
  ~FileAssociation();
  FileAssociation(const FileAssociation&) = delete;
  FileAssociation& operator=(const FileAssociation&) = delete;
  bool ready() const { return ready_; }

 private:
  std::string extensionKey_;
  std::string original_;
  bool ready_ = false;
};
