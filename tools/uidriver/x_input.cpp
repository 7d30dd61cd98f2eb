// The client side of the X input server: one loopback connection per request, opened with the
// server's cookie, the request as tab-separated xdotool arguments, and the exit status of xdotool
// as the answer.
#include "x_input.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdio>
#include <cstdlib>

namespace ui {

namespace {

// The server's answer to a request that is not input the tests make; nothing was run.
constexpr int kRefused = 125;

bool ServerAddress(sockaddr_in* address) {
  const char* value = std::getenv("KEYLOOM_XINPUT");
  if (!value) return false;
  const std::string text(value);
  const size_t colon = text.find(':');
  if (colon == std::string::npos) return false;
  *address = {};
  address->sin_family = AF_INET;
  address->sin_port = htons(static_cast<u_short>(std::atoi(text.c_str() + colon + 1)));
  return inet_pton(AF_INET, text.substr(0, colon).c_str(), &address->sin_addr) == 1;
}

// The secret the server takes from its clients first; empty when it is not known.
std::string Cookie() {
  const char* value = std::getenv("KEYLOOM_XINPUT_COOKIE");
  return value ? value : "";
}

bool StartWinsock() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}

// Sends one request line and reads the answer line; the exit status, or -1 on a broken link.
int Request(const std::string& line) {
  sockaddr_in address;
  if (!StartWinsock() || !ServerAddress(&address)) return -1;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return -1;
  int status = -1;
  const std::string sent = Cookie() + "\n" + line;
  if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      send(s, sent.data(), static_cast<int>(sent.size()), 0) == static_cast<int>(sent.size())) {
    std::string answer;
    char c;
    while (recv(s, &c, 1, 0) == 1 && c != '\n') answer += c;
    if (!answer.empty()) status = std::atoi(answer.c_str());
  }
  closesocket(s);
  return status;
}

}  // namespace

bool XInputAvailable() {
  sockaddr_in address;
  return ServerAddress(&address) && !Cookie().empty();
}

bool XDoTool(const std::vector<std::string>& args) {
  std::string line;
  for (const std::string& arg : args) line += (line.empty() ? "" : "\t") + arg;
  const int status = Request(line + "\n");
  std::string shown;
  for (const std::string& arg : args) shown += (shown.empty() ? "" : " ") + arg;
  if (status == kRefused) {
    std::fprintf(stderr, "the X input server refused \"xdotool %s\" (tools/xinput/xinput-server.py lists what it runs)\n",
                 shown.c_str());
  } else if (status < 0) {
    std::fprintf(stderr, "the X input server did not answer \"xdotool %s\" (is it at KEYLOOM_XINPUT, with the "
                 "cookie of KEYLOOM_XINPUT_COOKIE?)\n", shown.c_str());
  }
  return status == 0;
}

// No --sync: it waits for a movement that never comes when the pointer is already there.
bool ClickAt(int x, int y, int button) {
  return XDoTool({"mousemove", std::to_string(x), std::to_string(y), "sleep", "0.05", "click", std::to_string(button)});
}

bool ClickWindow(HWND window, int button) {
  RECT r;
  if (!GetWindowRect(window, &r)) return false;
  return ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2, button);
}

bool TypeText(const std::string& text) { return XDoTool({"type", "--delay", "40", text}); }

bool PressKey(const std::string& key) { return XDoTool({"key", key}); }

}  // namespace ui
