// SPDX-License-Identifier: GPL-3.0-or-later
// One parse of a page with gumbo, behind the guard of html_nesting.hpp, with every block the
// parser allocates freed in one sweep. For the html_*.cpp files only: it exposes gumbo's tree.
#pragma once

#include <gumbo.h>

#include <string_view>
#include <vector>

#include "core/html_nesting.hpp"

namespace langxing::html {

// Every block the parser allocates, linked so that the whole tree is freed in one sweep.
// The parser's own clean-up walks the tree recursively, so a deep tree would need a stack
// as deep; this way neither the parse nor the clean-up depends on the depth.
class ParserMemory {
 public:
  ParserMemory() = default;
  ParserMemory(const ParserMemory&) = delete;
  ParserMemory& operator=(const ParserMemory&) = delete;
  ~ParserMemory();

  void Use(GumboOptions& options);

 private:
  // Keeps the blocks' alignment that of malloc.
  struct alignas(std::max_align_t) Block {
    Block* prev;
    Block* next;
  };

  static void* Allocate(void* userdata, std::size_t size);
  static void Deallocate(void* userdata, void* pointer);

  Block head_{&head_, &head_};
};

// A page parsed after PrepareMarkup: the tree lives as long as this object.
class ParsedHtml {
 public:
  explicit ParsedHtml(std::string_view utf8, const MarkupLimits& limits = {});
  ParsedHtml(const ParsedHtml&) = delete;
  ParsedHtml& operator=(const ParsedHtml&) = delete;

  // The document's root element (<html>); nullptr when the parser gave nothing.
  const GumboNode* Root() const { return output_ != nullptr ? output_->root : nullptr; }

 private:
  ParserMemory memory_;
  PreparedMarkup markup_;
  const GumboOutput* output_ = nullptr;
};

// An element node (a <template> is one too, with its own node type).
inline bool IsElement(const GumboNode* node) {
  return node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE;
}

// A node of character data: text, whitespace or a CDATA section.
inline bool IsTextNode(const GumboNode* node) {
  return node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_WHITESPACE ||
         node->type == GUMBO_NODE_CDATA;
}

// The children of a document or an element.
inline const GumboVector& ChildrenOf(const GumboNode* node) {
  return node->type == GUMBO_NODE_DOCUMENT ? node->v.document.children : node->v.element.children;
}

inline const GumboNode* ChildAt(const GumboNode* node, unsigned index) {
  return static_cast<const GumboNode*>(ChildrenOf(node).data[index]);
}

// Visits the descendants of `root` in document order with an explicit stack (pages may nest
// thousands of elements deep). Visit(parent, index, child) returns true to go into an element's
// children; Leave(element) runs after them.
template <class Visitor>
void WalkDescendants(const GumboNode* root, Visitor& visitor) {
  struct Frame {
    const GumboNode* node;
    unsigned next;
  };
  std::vector<Frame> stack{{root, 0}};
  while (!stack.empty()) {
    Frame& frame = stack.back();
    const GumboNode* parent = frame.node;
    if (frame.next >= ChildrenOf(parent).length) {
      if (parent != root) visitor.Leave(parent);
      stack.pop_back();
      continue;
    }
    const unsigned index = frame.next++;
    const GumboNode* child = ChildAt(parent, index);
    if (visitor.Visit(parent, index, child)) stack.push_back({child, 0});
  }
}

}  // namespace langxing::html
