// SPDX-License-Identifier: GPL-3.0-or-later
// Posting work from any thread onto the thread of a Qt object, through its event loop.
#pragma once

#include "core/page_loader.hpp"

class QObject;

// A poster that may be called from any thread; each task runs later on the thread of
// `context`, in the order posted. Tasks posted after `context` was destroyed, or still
// waiting when it is destroyed, are dropped and never run.
langxing::UiPoster MakeUiPoster(QObject* context);
