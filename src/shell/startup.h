// The program's start sequence, in its fixed order.
#pragma once

#include <QString>

namespace desktop {
class SingleInstance;
}

// Applies the program's style sheet and bundled CJK font.
void ApplyLook(const QString& programFolder);

// Runs the start sequence up to the message loop: the single-copy check, the movie runtime
// check, the data module, and the main, progress and dialog windows. Returns false when the
// program must end now (after any message). programFolder empty: the executable's folder.
bool StartProgram(desktop::SingleInstance* single, const QString& programFolder = {});

// Frees what StartProgram made, in reverse order.
void StopProgram();
