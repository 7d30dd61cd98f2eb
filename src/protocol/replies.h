// The reader's replies: the handshake's markers and the plan of what a reply leads to, the card
// replies with the block a read gives back, and the card wait that reads them tick by tick. The
// program reads the bytes and asks here what they mean; it shows the answer.
#pragma once

#include <cstddef>
#include <cstdint>

#include "link/reader_ports.h"
#include "protocol/card_commands.h"

enum ReplyCode : int {
  kReplyNothing = 0,
  kReplyUnknownCommand = 1,
  kReplyAcknowledged = 2,
  kReplyHandshake = 3,
};

// The handshake the reader answers with its version.
inline constexpr char kHandshakeCommand[] = "AT+READS_USB";
inline constexpr int kHandshakeLength = 12;
// The only firmware version the program works with.
inline constexpr char kSupportedFirmware[] = "1.00";

// Scans the reply for " - OK!", " >> " and " - UNKNOWN CMD!" and gives the first marker's code. On
// the OK marker followed by the version marker the bytes after the version marker are moved to the
// start of the buffer; the rest of it is left as it was.
ReplyCode ClassifyReply(char* buffer, int length);

// True when the text begins with the four characters of the supported version.
bool IsSupportedFirmware(const char* text);

// What a reply leads to, decided before anything is shown: which reports, in which order, whether
// it may be a card's reply, whether the link is reset and a hand-picked port given up.
enum ReplyStep : int {
  kReplyStepDone = 0,
  kReplyStepReportSettingsRead,
  kReplyStepCheckFirmware,
  kReplyStepReportConnectionBroken,  // the reader was pulled out: the box, then the link reset
  kReplyStepReportReadError,         // the read's port call failed: its code shown
  kReplyStepReportInvalidCommand,
  kReplyStepReportNotRecognized,
  kReplyStepReportNoResponse,  // the retry hint of a hand-picked port
  kReplyStepEnablePortList,
  kReplyStepResetLink,
};

inline constexpr int kMaxReplySteps = 6;

struct ReplyPlan {
  ReplyCode code;
  ReplyStep steps[kMaxReplySteps];  // performed in order up to the first kReplyStepDone
};

// The plan for a reply of `length` bytes (0: nothing came; kLineFailed: the read failed) that
// ClassifyReply judged `code`. portGone: the system no longer lists the port, so a reply that did
// not come is the reader pulled out, not a silent reader or a broken line.
ReplyPlan PlanReplyReport(int length, ReplyCode code, bool portChosenByHand, bool portGone);


enum CardReplyKind : int {
  kCardReplyNotRecognized = 0,
  kCardReplyBlockRead,      // "\rAT+ms" with a block whose CRC checks
  kCardReplyDone,           // "\rAT+DAT_OK": a write or clear succeeded
  kCardReplyBoardSilent,    // "\rAT+ERR_03"
  kCardReplyNoCard,         // "\rAT+ERR_04"
  kCardReplyFailed,         // "\rAT+ERR_05"
  kCardReplyCardUnsupported,  // "\rAT+ERR_06"
};

// The message a reply gives the user; the shell shows it in the active language.
enum CardReplyMessage : int {
  kCardMessageNone = 0,
  kCardMessageOperationSuccessful,
  kCardMessageMainBoardNoResponse,
  kCardMessageCardNotBrought,
  kCardMessageOperationFailed,
  kCardMessageCardTypeUnsupported,
};

// A card block as the form takes it back. Indexes of -1 leave their control as it was.
struct CardBlockValues {
  bool isMaster = false;                            // block byte 0 is M
  int radio[kSettingGroupCount] = {-1, -1, -1, -1};   // master cards only
  int workMode = -1;                                // work-mode list index
  int32_t sectorNumber = 1;  // as the up-downs show it: kept in 1..15
  int32_t blockNumber = 0;   // kept in 0..2
  uint8_t systemKey[6] = {};   // master cards
  uint8_t sectorData[7] = {};  // user cards, already decoded in the encrypted mode
};

struct CardReply {
  CardReplyKind kind = kCardReplyNotRecognized;
  // The message to show and its kind (3 success, 5 error).
  CardReplyMessage message = kCardMessageNone;
  int messageKind = 0;
  // The success of a write or clear: sets LastOperationSucceeded, and in a cyclic run pauses
  // for a second instead of showing its message.
  bool setsLastOperationSucceeded = false;
  CardBlockValues block;  // for kCardReplyBlockRead
};

constexpr int kReadReplyBlockOffset = 12;

// `reply` holds `length` received bytes; anything beyond them counts as the zeros of the
// reply buffer.
CardReply ClassifyCardReply(const uint8_t* reply, size_t length);
// False when byte 15 is not the CRC-8 of bytes 0 to 14; `values` is then left alone. A sector or
// block number outside its range (a blank block carries sector 0) is taken at its nearest bound.
bool DecodeCardBlock(const uint8_t block[16], CardBlockValues* values);

// A reply judged whole: its markers' code, and when it has none the card reply it may be (its kind
// kCardReplyNotRecognized when it is none). A card's reply is shown as such; any other reply is
// shown by the plan of its code, in which the card step then leads to no card.
struct ReplyVerdict {
  ReplyCode code;
  CardReply card;
};
ReplyVerdict JudgeReply(char* bytes, int length);

// The card wait. The reply read on the first tick must acknowledge the command; from then on a
// one-byte poll watches for the final reply, which is read behind it and judged. The final reply is
// judged from its "\rAT+", wherever it comes: in the first read right behind the acknowledgement of a
// quick reader, behind the byte the poll finds, or ticks after a leading byte that came alone.
enum CardWaitTickEnd : int {
  kCardWaitGoesOn = 0,
  kCardWaitCutShort,  // no acknowledgement came, or the line failed: no cyclic step follows
  kCardWaitEnded,     // the final reply (or its absence at the limit) was judged
};

// The card wait lasts this many ticks, the top of its progress bar; the last one reads what is there.
inline constexpr int kCardWaitLastTick = 165;

// The read a tick makes next.
enum CardRead : int { kCardReadDone, kCardReadReply, kCardPollByte };

struct CardWait {
  int tick = 0;
  CardRead reading = kCardReadDone;
  char first[kReplyBufferSize + 1] = {};  // the first tick's read
  // The final reply's bytes so far, while they do not hold its start: its leading byte, when it
  // came alone and the rest is still to come.
  char reply[kReplyBufferSize + 1] = {};
  int length = 0;
  // The tick's outcome once its reads are done. An acknowledgement to judge comes first, while the
  // wait runs: unless it is acknowledged the wait ends there, cut short, and nothing more is judged.
  // Then, unless the wait goes on, it ends and the final reply is judged (kLineFailed: the line failed).
  CardWaitTickEnd end = kCardWaitGoesOn;
  char* acknowledgement = nullptr;
  int acknowledgementLength = 0;
  char* final = nullptr;
  int finalLength = 0;
};

// Starts tick number `tick` (counted from 1; the first starts the wait afresh): the read to make.
CardRead StartCardTick(CardWait& wait, int tick);
// What the read gave (a byte count, or kLineFailed): the next read, or kCardReadDone.
CardRead TakeCardRead(CardWait& wait, const char* bytes, int length);
