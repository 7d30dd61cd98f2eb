// The reply reader over a line: one zero-filled buffer per reply, so bytes of an earlier reply
// never reach the judge of a later one.
#include "link/reply_line.h"

ReplyCode ReadAndJudgeReply(const ReplyLine& line) {
  char buffer[kReplyBufferSize + 1] = {};
  const int length = line.readReply(line.context, buffer);
  return line.judgeReply(line.context, buffer, length);
}
