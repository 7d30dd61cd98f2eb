// Reads and writes the card files of the simulated reader; a new card is blank, with its own
// serial number derived from its file name.
#include "virtual_card.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace {

constexpr int kBlockBytes = 16;
constexpr int kTrailerBlock = 3;

size_t BlockOffset(int sector, int block) {
  return static_cast<size_t>((sector * 4 + block) * kBlockBytes);
}

std::string BlankCard(const std::string& path) {
  std::string bytes(kCardBytes, '\0');
  uint32_t hash = 2166136261u;
  for (unsigned char c : path) hash = (hash ^ c) * 16777619u;
  uint8_t bcc = 0;
  for (int i = 0; i < 4; ++i) {
    bytes[static_cast<size_t>(i)] = static_cast<char>(hash >> (8 * i));
    bcc ^= static_cast<uint8_t>(hash >> (8 * i));
  }
  bytes[4] = static_cast<char>(bcc);
  bytes[5] = '\x08';  // SAK of a Classic 1K
  bytes[6] = '\x04';  // ATQA
  const std::string accessBits("\xFF\x07\x80\x69", 4);
  for (int sector = 0; sector < kCardSectors; ++sector) {
    const std::string trailer = TransportKey() + accessBits + TransportKey();
    bytes.replace(BlockOffset(sector, kTrailerBlock), kBlockBytes, trailer);
  }
  return bytes;
}

}  // namespace

const std::string& TransportKey() {
  static const std::string key(6, '\xFF');
  return key;
}

bool LoadCard(const std::string& path, VirtualCard* card) {
  card->path = path;
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    card->bytes = BlankCard(path);
    return SaveCard(*card);
  }
  card->bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return true;
}

bool SaveCard(const VirtualCard& card) {
  std::ofstream file(card.path, std::ios::binary | std::ios::trunc);
  file.write(card.bytes.data(), static_cast<std::streamsize>(card.bytes.size()));
  return static_cast<bool>(file);
}

bool IsClassic1k(const VirtualCard& card) { return card.bytes.size() == kCardBytes; }

std::string CardSerial(const VirtualCard& card) { return card.bytes.substr(0, 4); }

std::string CardBlock(const VirtualCard& card, int sector, int block) {
  return card.bytes.substr(BlockOffset(sector, block), kBlockBytes);
}

void SetCardBlock(VirtualCard* card, int sector, int block, const std::string& sixteen) {
  card->bytes.replace(BlockOffset(sector, block), kBlockBytes, sixteen);
}

std::string SectorKey(const VirtualCard& card, int sector) {
  return card.bytes.substr(BlockOffset(sector, kTrailerBlock), 6);
}

void SetSectorKey(VirtualCard* card, int sector, const std::string& six) {
  card->bytes.replace(BlockOffset(sector, kTrailerBlock), 6, six);
}
