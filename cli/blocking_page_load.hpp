// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the headless page loader from a program without an event loop: the loader's poster
// hands tasks to a queue that the calling thread works off until the one DocumentComplete
// of its navigation has run.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "core/html_serializer.hpp"
#include "core/http.hpp"
#include "core/page_loader.hpp"

namespace langxing::cli {

struct PageLoad {
  std::optional<BodyTexts> body;  // the document the loader completed, when the page was loaded
  std::string error;              // otherwise why not
  // When the address or its page named today's roll feed: its answer (PageLoader::DataText).
  std::optional<std::string> rollFeed;
};

// Navigates and waits for the completion. No completion within `patience` (which the loader's
// own time-outs should prevent) counts as a failed load. `sources` as for the loader.
PageLoad LoadPageBlocking(const std::u16string& url, const NetworkLimits& limits,
                          std::chrono::milliseconds patience, DataSources sources = {});

// How long to wait for a completion under `limits`: the loader's whole-transfer and connect
// time-outs for each of the two transfers a navigation may make (a page that names its feed,
// then the feed), and a margin for decoding and parsing.
std::chrono::milliseconds PatienceFor(const NetworkLimits& limits);

}  // namespace langxing::cli
