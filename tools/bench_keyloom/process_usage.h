// What a process holds, as Windows reports it and, where Wine reports nothing (it answers 0 to
// GetProcessMemoryInfo's PrivateUsage, GetProcessHandleCount and GetGuiResources), the nearest
// figures that can be read: its kernel handles in the system's handle list, the GDI objects of
// its own handle table, its windows counted one by one, and its private memory as Linux sees it.
#pragma once

#include <windows.h>

#include <string>

struct ProcessUsage {
  // The documented calls.
  double privateKb = -1;    // GetProcessMemoryInfo PrivateUsage
  long handleCount = -1;    // GetProcessHandleCount
  long userObjects = -1;    // GetGuiResources GR_USEROBJECTS
  long gdiObjects = -1;     // GetGuiResources GR_GDIOBJECTS
  // The nearest things under Wine.
  long kernelHandles = -1;  // entries of the process in the system handle list
  long gdiTable = -1;       // used entries of the process's GDI handle table
  long windows = 0;         // top-level windows of the process and all their descendants
  double anonKb = -1;       // RssAnon of the Linux process that runs it
};

// Median of three samples 100 ms apart, so that a passing allocation does not count.
// `exePath` (as Windows names it) finds the Linux process for the memory figure.
ProcessUsage SampleUsage(HANDLE process, DWORD pid, const std::string& exePath);
// "RESULT prefix_name value" lines for each figure.
void ReportUsage(const std::string& prefix, const ProcessUsage& usage);
