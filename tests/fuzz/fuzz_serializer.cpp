// SPDX-License-Identifier: GPL-3.0-or-later
// Page bytes through decoding, parsing and serialising of the body; and the guard before the
// parser checked against the tree the parser really builds: never deeper than it allows.
#include <gumbo.h>

#include <vector>

#include "core/html_document.hpp"
#include "core/html_nesting.hpp"
#include "tests/fuzz/fuzz_input.hpp"

namespace {

std::size_t DepthOf(const GumboNode* root) {
  struct Frame {
    const GumboNode* node;
    std::size_t depth;
  };
  std::vector<Frame> stack{{root, 0}};
  std::size_t deepest = 0;
  while (!stack.empty()) {
    const Frame frame = stack.back();
    stack.pop_back();
    if (frame.depth > deepest) deepest = frame.depth;
    if (frame.node->type != GUMBO_NODE_ELEMENT && frame.node->type != GUMBO_NODE_TEMPLATE) {
      continue;
    }
    const GumboVector& children = frame.node->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
      stack.push_back({static_cast<const GumboNode*>(children.data[i]), frame.depth + 1});
    }
  }
  return deepest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace langxing;
  fuzz::FuzzInput in(data, size);
  static const char* const kContentTypes[] = {"", "text/html", "text/html; charset=utf-8",
                                              "text/html; charset=gb2312", "text/html; charset=x"};
  const std::uint8_t choice = in.Byte();
  const char* contentType = kContentTypes[choice % 5];
  const std::string_view page = in.Rest();
  const auto texts = BodyTextsOfPage(page, contentType);
  (void)texts;

  // A small depth limit, so that inputs of a few kilobytes can test it.
  html::MarkupLimits limits;
  limits.maxDepth = 8 + choice % 32;
  const html::PreparedMarkup markup = html::PrepareMarkup(page, limits);
  GumboOutput* output =
      gumbo_parse_with_options(&kGumboDefaultOptions, markup.text.data(), markup.text.size());
  // The root is HTML, under the document; the model counts neither HTML, HEAD nor BODY.
  if (DepthOf(output->root) > limits.maxDepth + 2) __builtin_trap();
  gumbo_destroy_output(&kGumboDefaultOptions, output);
  return 0;
}
