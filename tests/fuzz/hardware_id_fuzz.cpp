// The reader's hardware-id match on any device id: true exactly when the id begins with one of
// the two spellings of the reader's identity, whatever follows and however short the id is.
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "link/reader_ports.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string id(reinterpret_cast<const char*>(data), size);
  const bool expected = id.rfind("USB\\VID_2E3C&PID_5750&REV_0200", 0) == 0 ||
                        id.rfind("USB\\Vid_2e3c&Pid_5750&Rev_0200", 0) == 0;
  FUZZ_CHECK(MatchesReaderHardwareId(id, kTarnelIdentity) == expected);
  return 0;
}
