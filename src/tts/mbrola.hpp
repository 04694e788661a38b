// Binding of the diphone voice library, loaded at run time by name. All 23 entry points are
// resolved so that an incomplete library is refused at once; the engine calls only some of them.
#pragma once
#include "voice/teluma_mbrola.h"

namespace teluma::tts {

// The types of the entry points as the library declares them (never linked: only loaded).
using InitMbrFn = decltype(&init_MBR);
using WriteMbrFn = decltype(&write_MBR);
using FlushMbrFn = decltype(&flush_MBR);
using ReadMbrFn = decltype(&read_MBR);
using CloseMbrFn = decltype(&close_MBR);
using ResetMbrFn = decltype(&reset_MBR);
using LastErrorMbrFn = decltype(&lastError_MBR);
using SetNoErrorMbrFn = decltype(&setNoError_MBR);

// The library's file name, found as the run-time loader finds libraries.
constexpr const char* kMbrolaLibraryName = MBR_LIBRARY_NAME;

// The entry points the engine calls (nullptr while the library is not loaded).
struct MbrolaEntryPoints {
  InitMbrFn init = nullptr;
  WriteMbrFn write = nullptr;
  FlushMbrFn flush = nullptr;
  ReadMbrFn read = nullptr;
  CloseMbrFn close = nullptr;
  ResetMbrFn reset = nullptr;
  LastErrorMbrFn lastError = nullptr;
  SetNoErrorMbrFn setNoError = nullptr;
};

const MbrolaEntryPoints& Mbrola();

// Loads the library (once; a second call with it loaded succeeds) and resolves every entry
// point. When one is missing the library is freed again and the load fails.
bool LoadMbrolaLibrary();
// Frees the library if it is loaded.
void UnloadMbrolaLibrary();
bool MbrolaLibraryLoaded();

}  // namespace teluma::tts
