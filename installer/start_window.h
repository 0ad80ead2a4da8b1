#pragma once

#include <windows.h>

#include <cstdint>

// Creates StartWindow from its layout, centred on the screen, and shows it.
// A window or control that cannot be created stops the program.
void LoadStartWindow();

// Whether a start window made by LoadStartWindow still exists.
bool StartWindowLoaded();

// The keyboard handling of the start window, given the first look at every
// message of the loop: true when it consumed the message.
bool HandleStartWindowKey(const MSG& message);

// Marks the message loop as running: from then on the end of the last start
// window posts the quit message.
void MarkMessageLoopStarted();

// Moves the progress bar: clamped to 0...32,767, then to the bar's range.
void SetProgressPosition(int32_t position);

// Runs when the button is clicked, inside the dispatch of the click.
void ExtractButtonClicked();
