#pragma once
// Reading the system's font configuration costs several milliseconds before the first text
// of a window can be laid out. Started on a thread of its own at launch, it overlaps the rest
// of the start-up (the QApplication, the icon) instead of holding up the first control.

// Starts reading the font configuration on a thread of its own. Call once, on the main
// thread, before any window is built; does nothing where Qt does not read fontconfig.
void StartFontWarmUp();

// Returns once the reading started by StartFontWarmUp has ended; at once when none was
// started. The first text laid out waits here rather than reading the configuration twice.
void WaitFontWarmUp();
