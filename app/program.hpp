// SPDX-License-Identifier: GPL-3.0-or-later
// The program's start-up in one place, so the program and the test programs that play a session
// with it start in exactly the same way.
#pragma once

#include <functional>

class QApplication;
class QCoreApplication;
class Form1;

// Prepares the process, creates the application and the window, runs `beforeLoad` (when given)
// once both exist, then the window's load handler, shows the window and runs the event loop.
// Returns the event loop's exit status.
int RunProgram(int argc, char** argv,
               const std::function<void(QApplication&, Form1&)>& beforeLoad = {});

// What the process needs before the application object exists: shader caches in memory, the
// shared OpenGL contexts the web engine wants, the article view's URL scheme. RunProgram calls
// it; so do the test programs that make their own application object.
void PrepareProcess();

// Installs Qt's own translations (dialog buttons, the article view's context menu) for the
// default locale, from the folder Qt's translations are installed in. A catalog that is
// missing leaves those texts in English. RunProgram calls it once the application exists.
void InstallQtTranslations(QCoreApplication& app);
