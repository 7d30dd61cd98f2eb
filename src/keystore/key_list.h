// The plain key list keys.data: the key files' names and pass phrase, composing a line from the
// form's settings, reading lines byte by byte, cutting one into a KeyRecord, and Add new's duplicate test.
#pragma once

#include <cstddef>
#include <cstdint>

// The key store's files, all in the working directory, and the pass phrase of the encrypted ones.
inline constexpr char kKeysFile[] = "keys.data";
inline constexpr char kTmpKeysFile[] = "TmpKeys.data";
inline constexpr char kCrKeysFile[] = "crkeys.data";
inline constexpr char kZipKeysFile[] = "zipkeys.data";
inline constexpr char kTmpCrKeysFile[] = "TmpCrKeys.data";
inline constexpr char kKeyFilePassPhrase[] = "k%38wR*59?7!62&mzt";

// The line buffers of the readers; a line the program writes is at most 324 bytes long.
inline constexpr size_t kKeyLineBufferSize = 512;
inline constexpr size_t kMaxDescriptionLength = 256;
// A spaced key: six hex pairs with single blanks between them, or 17 '*' when masked.
inline constexpr size_t kSpacedKeyLength = 17;

// The fields of a parsed line; each keeps its value until a later parse finds it.
struct KeyRecord {
  char outputInterface[2];
  char indicationControl[2];
  char standbyIndication[2];
  char touchButtonPoll[2];
  char workMode[2];
  char sector[3];
  char block[2];
  char keyText[32];
  char description[kMaxDescriptionLength + 1];
};

// The form's settings a line records, as read from the main form's controls and FormState.
struct KeyLineSettings {
  char outputInterface = '0';
  char indicationControl = '0';
  char standbyIndication = '0';
  char touchButtonPoll = '0';
  char workMode = '0';
  int sector = 1;
  int block = 0;
};

// Writes the complete line, LF included, into line (at least kKeyLineBufferSize bytes) and
// returns its length. The key is the 12 digits without blanks; longer texts are cut.
size_t ComposeKeyLine(const KeyLineSettings& settings, const char* key, const char* description,
                      char* line);

// Fills record from one line without its LF, following the key search of the file format.
void ParseKeyLine(const char* line, KeyRecord* record);

// Collects the bytes of keys.data into lines. Bytes beyond the buffer's room are dropped, so
// an over-long line of a damaged file is cut, never written past the buffer.
struct KeyLineReader {
  char text[kKeyLineBufferSize];
  size_t length;
};
// Takes one byte; true when it was the LF that completes the line now in reader->text.
// The next byte then starts a new line.
bool TakeKeyLineByte(KeyLineReader* reader, char byte);

// The record's key as it is shown: six pairs separated by blanks, or 17 '*' where it is masked.
// The record keeps the key as its line holds it, so a later line without a key takes over the
// key itself, never the text shown for it.
void ShownKeyText(const KeyRecord& record, bool masked, char text[kSpacedKeyLength + 1]);

// Add new's duplicate test: the record holds the key (as the keys list window's key edit shows
// it, six spaced pairs) and the description, byte for byte, case included. One key may be listed
// with several descriptions.
bool RecordHoldsKey(const KeyRecord& record, const char* spacedKey, const char* description);

// The record's sector as a number, where 0 and text that is no number become 1.
int KeyRecordSector(const KeyRecord& record);
// The six bytes of a key text: blanks ignored, pairs read high half first, other digits as 0.
void KeyTextToBytes(const char* keyText, uint8_t bytes[6]);
