// simreader: a simulated Tarnel reader on the far end of a pseudo-terminal, steered through a
// line-based control port on 127.0.0.1. Usage:
//   simreader --dosdevices DIR --port-file FILE [--log FILE] [--idle-exit SECONDS]
// FILE receives the port and a new secret cookie ("PORT COOKIE"), readable by this user only; a
// client's first line must be the cookie, or it is sent away unanswered and nothing it says is run.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "hex_text.h"
#include "simulator.h"

namespace {

volatile sig_atomic_t g_stop = 0;
// The secret a control client sends first.
std::string g_cookie;
// Room a client is given before it has sent the cookie.
constexpr size_t kMaxCookieLine = 128;

struct Options {
  std::string dosdevices;
  std::string portFile;
  std::string logFile;
  int idleExitSeconds = 600;
};

bool ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    if (name == "--dosdevices") options->dosdevices = argv[i + 1];
    else if (name == "--port-file") options->portFile = argv[i + 1];
    else if (name == "--log") options->logFile = argv[i + 1];
    else if (name == "--idle-exit") options->idleExitSeconds = std::atoi(argv[i + 1]);
    else return false;
  }
  return !options->dosdevices.empty() && !options->portFile.empty();
}

int Listen(int* port) {
  const int server = socket(AF_INET, SOCK_STREAM, 0);
  const int yes = 1;
  setsockopt(server, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (bind(server, reinterpret_cast<sockaddr*>(&address), size) != 0 || listen(server, 8) != 0 ||
      getsockname(server, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    return -1;
  }
  *port = ntohs(address.sin_port);
  return server;
}

// A new cookie of 32 hexadecimal digits from the kernel's random source; empty when there is none.
std::string NewCookie() {
  char bytes[16];
  if (getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) return std::string();
  return ToHex(std::string(bytes, sizeof bytes));
}

// Compares in a time that does not tell how much of the cookie a guess got right.
bool IsCookie(const std::string& text) {
  if (g_cookie.empty() || text.size() != g_cookie.size()) return false;
  unsigned char difference = 0;
  for (size_t i = 0; i < text.size(); ++i) difference |= static_cast<unsigned char>(text[i] ^ g_cookie[i]);
  return difference == 0;
}

// Writes "PORT COOKIE" to the port file, created anew for this user alone and renamed into place
// when complete, so that a reader never sees half of it.
bool WritePortFile(const std::string& path, int port) {
  const std::string partial = path + ".new";
  unlink(partial.c_str());
  const int fd = open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const std::string text = std::to_string(port) + " " + g_cookie + "\n";
  const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  return close(fd) == 0 && written && rename(partial.c_str(), path.c_str()) == 0;
}

struct Client {
  int fd;
  std::string input;
  bool admitted = false;  // it has sent the cookie
};

// Runs every complete line of a client after its cookie; false when the client has gone or has
// been sent away.
bool ServeClient(Simulator* simulator, Client* client) {
  char chunk[512];
  const ssize_t n = read(client->fd, chunk, sizeof chunk);
  if (n <= 0) return false;
  client->input.append(chunk, static_cast<size_t>(n));
  size_t end;
  while ((end = client->input.find('\n')) != std::string::npos) {
    std::string line = client->input.substr(0, end);
    client->input.erase(0, end + 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!client->admitted) {
      if (!IsCookie(line)) return false;
      client->admitted = true;
      continue;
    }
    const std::string answer = RunControlLine(simulator, line) + "\n";
    if (write(client->fd, answer.data(), answer.size()) < 0) return false;
  }
  return client->admitted || client->input.size() <= kMaxCookieLine;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    std::fprintf(stderr, "usage: simreader --dosdevices DIR --port-file FILE [--log FILE] [--idle-exit SECONDS]\n");
    return 2;
  }
  signal(SIGPIPE, SIG_IGN);
  signal(SIGTERM, [](int) { g_stop = 1; });
  signal(SIGINT, [](int) { g_stop = 1; });

  Simulator simulator;
  simulator.dosdevices = options.dosdevices;
  if (!OpenPtyLine(&simulator.line)) return 1;
  if (!options.logFile.empty()) simulator.frameLog = std::fopen(options.logFile.c_str(), "a");
  int port = 0;
  const int server = Listen(&port);
  g_cookie = NewCookie();
  if (server < 0 || g_cookie.empty() || !WritePortFile(options.portFile, port)) {
    std::perror("simreader: control port");
    return 1;
  }

  std::vector<Client> clients;
  Clock::time_point lastControl = Clock::now();
  while (!g_stop) {
    std::vector<pollfd> fds = {{server, POLLIN, 0}, {simulator.line.master, POLLIN, 0}};
    for (const Client& client : clients) fds.push_back({client.fd, POLLIN, 0});
    const int due = SendDueAnswers(&simulator);
    poll(fds.data(), fds.size(), due < 0 ? 1000 : due);
    if (fds[0].revents & POLLIN) {
      const int fd = accept(server, nullptr, nullptr);
      if (fd >= 0) clients.push_back({fd, std::string()});
    }
    // A pulled line is not polled (its descriptor is -1) until a plug opens a new one.
    if (fds[1].revents & POLLIN) {
      char bytes[256];
      const ssize_t n = read(simulator.line.master, bytes, sizeof bytes);
      if (n > 0) OnLineBytes(&simulator, std::string(bytes, static_cast<size_t>(n)));
    }
    for (size_t i = 2; i < fds.size(); ++i) {
      if (!(fds[i].revents & (POLLIN | POLLHUP))) continue;
      lastControl = Clock::now();
      Client& client = clients[i - 2];
      if (!ServeClient(&simulator, &client)) {
        close(client.fd);
        client.fd = -1;
      }
    }
    clients.erase(std::remove_if(clients.begin(), clients.end(), [](const Client& c) { return c.fd < 0; }),
                  clients.end());
    if (clients.empty() && Clock::now() - lastControl > std::chrono::seconds(options.idleExitSeconds)) break;
  }
  Unplug(&simulator);
  std::remove(options.portFile.c_str());
  return 0;
}
