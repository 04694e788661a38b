// State shared by the front end's own sources (not part of its interface).
#pragma once

// Set by StopSpeech; a running SpeakText ends after its current step.
bool& SpeakStopFlag();

// Repeats WaitMessage while SpeechBusy answers true.
void WaitWhileSpeechBusy();
