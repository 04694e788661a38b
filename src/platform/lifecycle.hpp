// The end of the program: the exit code and the exit procedures of the modules, run on every
// ordinary way out (return from main, exit, the close path, Ctrl+Break, the quit message).
#pragma once
#include <functional>

namespace teluma::platform {

// Registers a procedure run at program end, before the transcript's EXIT event, in reverse
// order of registration (the last registered runs first).
void AddExitProcedure(std::function<void()> procedure);

// Ends the program with code: the exit procedures run, EXIT code is written, then the process
// ends. A return from main and std::exit take the same path with their own code.
[[noreturn]] void ExitProgram(int code);

// Makes sure EXIT is written at the end (every program that uses the event queue does it).
void InstallExitHandler();

// Procedures that run after EXIT (the console's final screen rows).
void AddFinalReport(std::function<void()> procedure);

}  // namespace teluma::platform
