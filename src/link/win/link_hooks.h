// What the link asks of the rest of the program, given by it at start: opening the waits that
// read the reader, and judging a reply that carries no handshake marker as a card's reply.
#pragma once

struct LinkHooks {
  // Opens the wait of a timer (1 search delay, 2 handshake wait); false when one runs already.
  bool (*openWait)(int timer) = nullptr;
  bool (*waitRunning)() = nullptr;
  // False when the reply is not a card's reply (nothing shown then).
  bool (*cardReply)(const char* reply, int length) = nullptr;
};

void SetLinkHooks(const LinkHooks& hooks);

bool OpenLinkWait(int timer);
bool LinkWaitRunning();
bool JudgeCardReply(const char* reply, int length);
