// SPDX-License-Identifier: GPL-3.0-or-later
// What the window shows while the user-interface thread blocks in a synchronous task (the
// article download): the last texts painted, and the busy pointer.
#pragma once

// Hands everything painted so far to the window system and waits until the window system has
// taken it, so that it is on the screen although no event is handled until the task ends.
// Under X11 the painted image otherwise may wait in the client's output buffer.
void FlushToScreen();

// Shows the busy pointer over every window of the program from its construction to its end.
class BusyCursor {
 public:
  BusyCursor();
  ~BusyCursor();
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};
