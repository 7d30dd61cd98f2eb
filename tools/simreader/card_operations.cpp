// The card side of the reader's commands. A master card keeps its settings block in sector 1,
// block 0, locked with the system key it carries; a user card keeps its block where the command
// says, and every user command must present the sector's key (a blank sector takes any key).
#include "card_operations.h"

namespace {

constexpr int kMasterSector = 1;
constexpr int kMasterBlock = 0;
constexpr size_t kKeyAt = 5;
constexpr size_t kBlockAt = 11;
constexpr size_t kBlockBytes = 16;

const std::string kDone = "\rAT+DAT_OK\r\n";
const std::string kRefused = "\rAT+ERR_05\r\n";
const std::string kUnsupported = "\rAT+ERR_06\r\n";

bool BlockChecks(const std::string& block) { return BlockCrc(block, kBlockBytes) == 0; }

std::string ReadReply(const VirtualCard& card, const std::string& block) {
  return "\rAT+ms" + CardSerial(card) + std::string("\x08\x00", 2) + block + "\r\n";
}

std::string Save(const VirtualCard& card) { return SaveCard(card) ? kDone : kRefused; }

std::string RunMaster(VirtualCard* card, char operation, const std::string& block) {
  const std::string stored = CardBlock(*card, kMasterSector, kMasterBlock);
  const std::string key = SectorKey(*card, kMasterSector);
  const bool holdsMaster = stored[0] == 'M' && BlockChecks(stored);
  if (operation == 'r') return holdsMaster ? ReadReply(*card, stored) : kRefused;
  if (operation == 'c') {
    if (!holdsMaster && key != TransportKey()) return kRefused;
    SetCardBlock(card, kMasterSector, kMasterBlock, std::string(kBlockBytes, '\0'));
    SetSectorKey(card, kMasterSector, TransportKey());
    return Save(*card);
  }
  const std::string newKey = block.substr(8, 6);
  // A master card takes new settings; any other card only with its sector 1 still open to them.
  if (!BlockChecks(block) || (!holdsMaster && key != TransportKey() && key != newKey)) return kRefused;
  SetCardBlock(card, kMasterSector, kMasterBlock, block);
  SetSectorKey(card, kMasterSector, newKey);
  return Save(*card);
}

std::string RunUser(VirtualCard* card, char operation, const std::string& key, const std::string& block) {
  const int sector = static_cast<unsigned char>(block[6]);
  const int number = static_cast<unsigned char>(block[7]);
  if (!BlockChecks(block) || sector < 1 || sector >= kCardSectors || number > 2) return kRefused;
  const std::string cardKey = SectorKey(*card, sector);
  if (operation == 'r') return cardKey == key ? ReadReply(*card, CardBlock(*card, sector, number)) : kRefused;
  if (cardKey != key && cardKey != TransportKey()) return kRefused;
  if (operation == 'w') {
    SetCardBlock(card, sector, number, block);
    SetSectorKey(card, sector, key);
  } else {
    SetCardBlock(card, sector, number, std::string(kBlockBytes, '\0'));
    SetSectorKey(card, sector, TransportKey());
  }
  return Save(*card);
}

}  // namespace

bool StartsCardFrame(const std::string& bytes, size_t at) {
  if (bytes.compare(at, 3, "AT+") != 0 || bytes.size() < at + 3) return false;
  if (bytes.size() > at + 3 && bytes[at + 3] != 'M' && bytes[at + 3] != 'U') return false;
  if (bytes.size() > at + 4 && bytes[at + 4] != 'w' && bytes[at + 4] != 'r' && bytes[at + 4] != 'c') return false;
  return true;
}

std::string RunCardCommand(VirtualCard* card, const std::string& frame) {
  if (!IsClassic1k(*card)) return kUnsupported;
  const char operation = frame[4];
  const std::string block = frame.substr(kBlockAt, kBlockBytes);
  if (frame[3] == 'M') return RunMaster(card, operation, block);
  return RunUser(card, operation, frame.substr(kKeyAt, 6), block);
}

uint8_t BlockCrc(const std::string& bytes, size_t count) {
  uint8_t crc = 0;
  for (size_t i = 0; i < count; ++i) {
    crc ^= static_cast<uint8_t>(bytes[i]);
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<uint8_t>((crc >> 1) ^ 0x8C) : static_cast<uint8_t>(crc >> 1);
  }
  return crc;
}
