#pragma once

#include <windows.h>

#include <initializer_list>

// Real input, through the same queue as the keyboard and the mouse: keys
// held down in order and let go in reverse, and left clicks.
void PressKeys(std::initializer_list<WORD> keys);
void ClickAt(POINT screen_point);
void ClickCentreOf(HWND window);

// Brings a window of another process to the front so that keys reach it.
bool BringToFront(HWND window);
