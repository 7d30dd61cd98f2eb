// The card buttons of the main form (Write, Read, Clear and their cyclic forms): the frame
// builders and their send step, the dispatch by card type, and the flags of a cyclic run.
#pragma once

#include <cstdint>

#include "protocol/command_frames.h"

// The last frame sent and the block it carries; rebuilt from zero for every frame.
extern CommandFrame g_commandFrame;
extern ConfigBlock g_configBlock;

extern uint8_t g_cyclicWrite;
extern uint8_t g_cyclicClear;
extern uint8_t g_lastOperationSucceeded;

void SendMasterWrite();
void SendMasterRead();
void SendMasterClear();
void SendUserWrite();
void SendUserRead();
void SendUserClear();
// Writes the frame and opens the card wait, or resets the link when the write fails.
void SendCommandFrame(const uint8_t* frame, int length);

// With no open port each starts the reader search instead; with no card type chosen, nothing.
void WriteCard();
void ReadCard();
void ClearCard();

// Commands 9 to 13.
void OnCardCommand(int id);
// Once a card wait is over: repeats a cyclic write or clear after a success, else ends the run.
void RunCyclicStep();
