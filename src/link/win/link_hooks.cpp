// The link's hooks: one set, given by the program at start; before that no wait opens and no reply
// is taken for a card's.
#include "link/win/link_hooks.h"

namespace {

LinkHooks g_hooks;

}  // namespace

void SetLinkHooks(const LinkHooks& hooks) { g_hooks = hooks; }

bool OpenLinkWait(int timer) { return g_hooks.openWait != nullptr && g_hooks.openWait(timer); }

bool LinkWaitRunning() { return g_hooks.waitRunning != nullptr && g_hooks.waitRunning(); }

bool JudgeCardReply(const char* reply, int length) {
  return g_hooks.cardReply != nullptr && g_hooks.cardReply(reply, length);
}
