// The program-wide LinkState and the reset that closes the port.
// Opening, reading and writing the port build on this record.
#include "link/win/link_state.h"

LinkState g_link;

void ResetLink() {
  if (g_link.portOpen) CloseHandle(g_link.portHandle);
  g_link.portHandle = INVALID_HANDLE_VALUE;
  g_link.portOpen = false;
}
