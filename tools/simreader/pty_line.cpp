// Opens the pseudo-terminal pair in raw mode so that every byte passes unchanged both ways,
// as it does on the reader's USB virtual serial port.
#include "pty_line.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

bool OpenPtyLine(PtyLine* line) {
  line->master = posix_openpt(O_RDWR | O_NOCTTY);
  if (line->master < 0 || grantpt(line->master) != 0 || unlockpt(line->master) != 0) {
    std::fprintf(stderr, "simreader: no pseudo-terminal: %s\n", std::strerror(errno));
    return false;
  }
  line->slavePath = ptsname(line->master);
  line->slave = open(line->slavePath.c_str(), O_RDWR | O_NOCTTY);
  if (line->slave < 0) {
    std::fprintf(stderr, "simreader: cannot open %s: %s\n", line->slavePath.c_str(), std::strerror(errno));
    return false;
  }
  for (int fd : {line->master, line->slave}) {
    termios settings = {};
    tcgetattr(fd, &settings);
    cfmakeraw(&settings);
    cfsetspeed(&settings, B19200);
    tcsetattr(fd, TCSANOW, &settings);
  }
  fcntl(line->master, F_SETFL, fcntl(line->master, F_GETFL) | O_NONBLOCK);
  return true;
}

void ClosePtyLine(PtyLine* line) {
  for (int* fd : {&line->master, &line->slave}) {
    if (*fd >= 0) close(*fd);
    *fd = -1;
  }
}

bool PtyLineOpen(const PtyLine& line) { return line.master >= 0; }

void FlushPtyLine(const PtyLine& line) {
  if (!PtyLineOpen(line)) return;
  tcflush(line.slave, TCIOFLUSH);
  tcflush(line.master, TCIOFLUSH);
  char drain[256];
  while (read(line.master, drain, sizeof drain) > 0) {
  }
}

namespace {

constexpr speed_t kUnconfiguredSpeed = B50;

}  // namespace

void MarkLineUnconfigured(const PtyLine& line) {
  termios settings = {};
  tcgetattr(line.slave, &settings);
  cfsetspeed(&settings, kUnconfiguredSpeed);
  tcsetattr(line.slave, TCSANOW, &settings);
}

bool LineConfigured(const PtyLine& line) {
  termios settings = {};
  if (tcgetattr(line.slave, &settings) != 0) return false;
  return cfgetospeed(&settings) != kUnconfiguredSpeed;
}

bool WritePtyLine(const PtyLine& line, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(line.master, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EAGAIN) {
      usleep(1000);
      continue;
    }
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}
