// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/html_parse.hpp"

#include <cstdlib>

namespace langxing::html {

namespace {
// Gumbo stops collecting parse errors after this many; no reader of the tree looks at them.
constexpr int kMaxRecordedErrors = 0;
}  // namespace

ParserMemory::~ParserMemory() {
  for (Block* b = head_.next; b != &head_;) {
    Block* next = b->next;
    std::free(b);
    b = next;
  }
}

void ParserMemory::Use(GumboOptions& options) {
  options.allocator = &Allocate;
  options.deallocator = &Deallocate;
  options.userdata = this;
}

void* ParserMemory::Allocate(void* userdata, std::size_t size) {
  auto* memory = static_cast<ParserMemory*>(userdata);
  auto* block = static_cast<Block*>(std::malloc(sizeof(Block) + size));
  if (block == nullptr) std::abort();  // the parser cannot go on without memory
  Block& head = memory->head_;
  block->prev = &head;
  block->next = head.next;
  head.next->prev = block;
  head.next = block;
  return block + 1;
}

void ParserMemory::Deallocate(void*, void* pointer) {
  if (pointer == nullptr) return;
  Block* block = static_cast<Block*>(pointer) - 1;
  block->prev->next = block->next;
  block->next->prev = block->prev;
  std::free(block);
}

ParsedHtml::ParsedHtml(std::string_view utf8, const MarkupLimits& limits)
    : markup_(PrepareMarkup(utf8, limits)) {
  GumboOptions options = kGumboDefaultOptions;
  options.max_errors = kMaxRecordedErrors;
  memory_.Use(options);
  output_ = gumbo_parse_with_options(&options, markup_.text.data(), markup_.text.size());
}

}  // namespace langxing::html
