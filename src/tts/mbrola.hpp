// Binding of the diphone voice library, loaded at run time by name. All 23 entry points are
// resolved so that an incomplete library is refused at once; the engine calls only some of them.
#pragma once

extern "C" {
using InitMbrFn = int (*)(const char* databasePath);
using WriteMbrFn = int (*)(const char* lines);
using FlushMbrFn = int (*)();
using ReadMbrFn = int (*)(short* samples, int capacity);
using CloseMbrFn = void (*)();
using ResetMbrFn = void (*)();
using LastErrorMbrFn = int (*)();
using SetNoErrorMbrFn = void (*)(int noError);
}

// The library's file name, found as the run-time loader finds libraries.
constexpr const char* kMbrolaLibraryName = "libteluma-mbrola.so";

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
