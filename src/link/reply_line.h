// The reads a reply reader makes, over whatever carries the reader's bytes: the serial port in the
// program, a simulated line in the tests. The reply is read whole, then judged.
#pragma once

#include "link/reply_classifier.h"

// The reply buffer: the reader's replies are short, yet an acknowledgement and the final reply that
// comes right behind it must fit one read. One byte more keeps the text terminated.
inline constexpr int kReplyBufferSize = 256;

// What a read or a poll gives when its port call failed: the line is broken or gone.
inline constexpr int kLineFailed = -1;

struct ReplyLine {
  void* context = nullptr;
  // Reads until the line falls silent into a zero-filled buffer of kReplyBufferSize + 1 bytes;
  // the number of bytes kept, 0 when nothing came, kLineFailed.
  int (*readReply)(void* context, char* buffer) = nullptr;
  // Reads one byte into *byte: 1 when one came, 0 when none did, kLineFailed.
  int (*pollByte)(void* context, char* byte) = nullptr;
  // Ends the wait that reads: its timer, its WaitWindow and the tick counter.
  void (*endWait)(void* context) = nullptr;
  // Judges and reports a reply of `length` bytes (0: nothing came; kLineFailed: the line failed,
  // which ends the link); its reply code.
  ReplyCode (*judgeReply)(void* context, char* buffer, int length) = nullptr;
};

// Reads the reply that is waiting and judges it; the reply code.
ReplyCode ReadAndJudgeReply(const ReplyLine& line);
