// A virtual MIFARE Classic 1K card kept in a file (the usual 1024-byte dump: 16 sectors of four
// 16-byte blocks, the last of each the sector trailer with key A), so a card outlives the run.
#pragma once

#include <cstdint>
#include <string>

inline constexpr int kCardSectors = 16;
inline constexpr int kCardBytes = kCardSectors * 4 * 16;

struct VirtualCard {
  std::string path;
  std::string bytes;  // the whole file; a size other than kCardBytes is a card of another type
};

// Loads the card, or makes a blank one (transport keys FF..FF, a serial number of its own) when
// the file does not exist yet; false when it cannot be read or written.
bool LoadCard(const std::string& path, VirtualCard* card);
bool SaveCard(const VirtualCard& card);

bool IsClassic1k(const VirtualCard& card);
// The four-byte serial number of block 0.
std::string CardSerial(const VirtualCard& card);
std::string CardBlock(const VirtualCard& card, int sector, int block);
void SetCardBlock(VirtualCard* card, int sector, int block, const std::string& sixteen);
std::string SectorKey(const VirtualCard& card, int sector);
void SetSectorKey(VirtualCard* card, int sector, const std::string& six);
// The key A of a card fresh from the factory.
const std::string& TransportKey();
