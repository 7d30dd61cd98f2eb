// Changes which program the system opens PDF files with, for as long as the object lives: none at
// all (as on a PC without a PDF viewer), a "viewer" whose command is no program, or a viewer that
// copies the file it is given, so a scenario sees which document the shell opened.
#pragma once

#include <string>

class PdfAssociation {
 public:
  enum Kind { kNoViewer, kBrokenViewer, kCopyingViewer };

  // kCopyingViewer copies each opened file to copyTo (a Windows path).
  explicit PdfAssociation(Kind kind, const std::string& copyTo = std::string());
  ~PdfAssociation();
  PdfAssociation(const PdfAssociation&) = delete;
  PdfAssociation& operator=(const PdfAssociation&) = delete;
  bool ready() const { return ready_; }

 private:
  std::string original_;
  bool ready_ = false;
};
