// The reads a reply reader makes, over whatever carries the reader's bytes: the serial port in the
// program, a simulated line in the tests. The reply is read whole, then judged.
#pragma once

#include "link/reply_classifier.h"

// The reply buffer: the reader's replies are short, and one byte more keeps the text terminated.
inline constexpr int kReplyBufferSize = 64;

struct ReplyLine {
  void* context = nullptr;
  // Reads until the line falls silent into a zero-filled buffer of kReplyBufferSize + 1 bytes;
  // the number of bytes kept, 0 when nothing came.
  int (*readReply)(void* context, char* buffer) = nullptr;
  // Reads one byte and drops it; true when one came.
  bool (*pollByte)(void* context) = nullptr;
  // Ends the wait that reads: its timer, its WaitWindow and the tick counter.
  void (*endWait)(void* context) = nullptr;
  // Judges and reports a reply of `length` bytes (0: nothing came); its reply code.
  ReplyCode (*judgeReply)(void* context, char* buffer, int length) = nullptr;
};

// Reads the reply that is waiting and judges it; the reply code.
ReplyCode ReadAndJudgeReply(const ReplyLine& line);
