// The card wait: timer 4 after a card frame was sent, until the reader's final reply or the
// tick limit, then the cyclic step.
#pragma once

// WM_TIMER of timer 4.
void OnCardWaitTick();
