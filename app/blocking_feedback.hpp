// SPDX-License-Identifier: GPL-3.0-or-later
// What the window shows while the user-interface thread blocks in a synchronous task (the
// article download): the texts written just before it, and the busy pointer.
#pragma once

class QWidget;

// Paints `widget` and sees its picture reach the screen before returning, although no event is
// handled until the task ends. Qt's own painting may stay in the window's buffers until the
// event loop turns again (it composes the window with the article view's picture, which may
// be busy); under X11 the widget is therefore also drawn straight into its window on the X
// server, which the next ordinary repaint covers with the same picture.
void ShowNow(QWidget* widget);

// Waits until the window system has carried out every request made so far.
void FlushToScreen();

// Shows the busy pointer over every window of the program from its construction to its end.
class BusyCursor {
 public:
  BusyCursor();
  ~BusyCursor();
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};
