// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/main_text.hpp"

#include <algorithm>
#include <set>
#include <vector>

#include "reader/article_markup.hpp"
#include "reader/clutter_names.hpp"
#include "reader/page_heading.hpp"

namespace langxing {

namespace {

// A paragraph counts from this many visible characters outside links.
constexpr int kParagraphChars = 10;
// Text that stands directly in an element (not in a <p>) makes it a paragraph from this size.
constexpr int kDirectTextChars = 20;
// The least main text: shorter, it is a caption or a list entry, not an article.
constexpr int kMainTextChars = 30;

struct Block {
  HtmlElement element;
  int parent;
  std::string tag;
  int chars = 0;        // visible characters, links included
  int linkChars = 0;    // of them, inside links
  int directChars = 0;  // in text standing directly in the element
  int punctuation = 0;  // sentence punctuation outside links
  double score = 0;     // what the paragraphs inside gave it
  bool clutter = false;
};

bool IsSpaceCodePoint(char32_t c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == 0xA0 || c == 0x3000;
}

bool IsSentencePunctuation(char32_t c) {
  switch (c) {
    case U'，':
    case U'。':
    case U'！':
    case U'？':
    case U'；':
    case U'：':
    case U'、':
    case U'“':
    case U'”':
    case U'《':
    case U'》':
    case U',':
    case U';':
    case U'!':
    case U'?':
      return true;
    default:
      return false;
  }
}

// The next code point of well-formed UTF-8 (the parser's output is); advances `i`.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  if (i + static_cast<std::size_t>(length) > text.size()) length = 1;
  char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
  for (int k = 1; k < length; ++k) c = (c << 6) | (byte(i + static_cast<std::size_t>(k)) & 0x3F);
  i += static_cast<std::size_t>(length);
  return c;
}

// One walk: every content element as a block with its text figures, parents before children.
class BlockWalk : public HtmlVisitor {
 public:
  bool Enter(const HtmlElement& element) override {
    if (element.IsNotContent() || IsHidden(element)) return false;
    const int parent = open_.empty() ? -1 : open_.back();
    blocks.push_back(Block{element, parent, element.Name()});
    Block& block = blocks.back();
    block.clutter = IsNamedAsClutter(element);
    if (block.tag == "a") ++links_;
    open_.push_back(static_cast<int>(blocks.size()) - 1);
    return true;
  }

  void Text(std::string_view text) override {
    if (open_.empty()) return;
    Block& block = blocks[static_cast<std::size_t>(open_.back())];
    for (std::size_t i = 0; i < text.size();) {
      const char32_t c = NextCodePoint(text, i);
      if (IsSpaceCodePoint(c)) continue;
      ++block.chars;
      ++block.directChars;
      if (links_ > 0) {
        ++block.linkChars;
      } else if (IsSentencePunctuation(c)) {
        ++block.punctuation;
      }
    }
  }

  void Leave(const HtmlElement&) override {
    const Block& block = blocks[static_cast<std::size_t>(open_.back())];
    if (block.tag == "a") --links_;
    if (block.parent >= 0) {
      Block& parent = blocks[static_cast<std::size_t>(block.parent)];
      parent.chars += block.chars;
      parent.linkChars += block.linkChars;
      parent.punctuation += block.punctuation;
    }
    open_.pop_back();
  }

  std::vector<Block> blocks;

 private:
  static bool IsHidden(const HtmlElement& element) {
    std::string style;
    for (const char c : element.Attribute("style")) {
      if (c != ' ') style.push_back(c);
    }
    return style.find("display:none") != std::string::npos;
  }

  std::vector<int> open_;
  int links_ = 0;
};

int TextChars(const Block& block) { return block.chars - block.linkChars; }

double LinkDensity(const Block& block) {
  return block.chars == 0 ? 0.0 : static_cast<double>(block.linkChars) / block.chars;
}

// A paragraph of running text: a <p> (or a quote, preformatted text), or an element with text
// of its own, holding enough characters outside links.
bool IsParagraph(const Block& block) {
  const bool paragraphTag = block.tag == "p" || block.tag == "pre" || block.tag == "blockquote";
  if (!paragraphTag && block.directChars < kDirectTextChars) return false;
  return TextChars(block) >= kParagraphChars && LinkDensity(block) < 0.5;
}

// Each paragraph gives its parent a score by its length and punctuation, and half of that to
// its grandparent: the block holding most paragraphs of running text wins.
void ScoreParagraphs(std::vector<Block>& blocks) {
  for (const Block& block : blocks) {
    if (!IsParagraph(block) || block.parent < 0) continue;
    const double score = 1.0 + block.punctuation + std::min(TextChars(block) / 50.0, 3.0);
    Block& parent = blocks[static_cast<std::size_t>(block.parent)];
    parent.score += score;
    if (parent.parent >= 0) blocks[static_cast<std::size_t>(parent.parent)].score += score / 2;
  }
}

double FinalScore(const Block& block) {
  if (block.clutter || block.score <= 0) return 0;
  const double weight = IsNamedAsArticle(block.element) ? 1.25 : 1.0;
  return block.score * (1.0 - LinkDensity(block)) * weight;
}

// A sibling of the best block that belongs with it: a block scoring near it, or a paragraph of
// running text with few links.
bool BelongsBeside(const Block& sibling, double bestScore) {
  if (sibling.clutter) return false;
  if (FinalScore(sibling) >= std::max(10.0, bestScore * 0.2)) return true;
  if (!IsParagraph(sibling)) return false;
  return LinkDensity(sibling) < 0.25 && (TextChars(sibling) >= 40 || sibling.punctuation > 0);
}

// Lists, link blocks and clutter inside the chosen text: related links without a telling name
// are lists of links.
bool IsLinkList(const Block& block) {
  static constexpr std::string_view kContainers[] = {"ul",      "ol",    "dl",  "div",
                                                     "section", "table", "menu"};
  const bool container =
      std::find(std::begin(kContainers), std::end(kContainers), block.tag) != std::end(kContainers);
  return container && block.chars > 0 && LinkDensity(block) > 0.6;
}

}  // namespace

std::u16string MainTextArticle(const HtmlPage& html) {
  BlockWalk walk;
  html.Walk(walk);
  std::vector<Block>& blocks = walk.blocks;
  ScoreParagraphs(blocks);

  int best = -1;
  double bestScore = 0;
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    const double score = FinalScore(blocks[i]);
    if (score > bestScore) {
      best = static_cast<int>(i);
      bestScore = score;
    }
  }
  if (best < 0) return {};

  // The best block and the siblings that belong with it, in page order.
  std::vector<int> chosen;
  const int parent = blocks[static_cast<std::size_t>(best)].parent;
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    const int index = static_cast<int>(i);
    if (index == best ||
        (parent >= 0 && blocks[i].parent == parent && BelongsBeside(blocks[i], bestScore))) {
      chosen.push_back(index);
    }
  }
  int mainChars = 0;
  int punctuation = 0;
  for (const int index : chosen) {
    mainChars += TextChars(blocks[static_cast<std::size_t>(index)]);
    punctuation += blocks[static_cast<std::size_t>(index)].punctuation;
  }
  if (mainChars < kMainTextChars || punctuation == 0) return {};

  const PageHeading heading = ReadPageHeading(html);
  std::set<const void*> dropped;
  for (const HtmlElement& shown : heading.shown) dropped.insert(shown.Key());
  // Blocks come parents first, so one pass tells which lie inside the chosen ones, and which
  // link lists there are not inside one already left out.
  enum class Place : unsigned char { kOutside, kChosen, kDropped };
  std::vector<Place> place(blocks.size(), Place::kOutside);
  for (const int index : chosen) place[static_cast<std::size_t>(index)] = Place::kChosen;
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    const int up = blocks[i].parent;
    if (up >= 0 && place[i] == Place::kOutside) place[i] = place[static_cast<std::size_t>(up)];
    if (place[i] == Place::kChosen && IsLinkList(blocks[i])) {
      place[i] = Place::kDropped;
      dropped.insert(blocks[i].element.Key());
    }
  }
  FragmentRules rules;
  rules.dropWhen = [&dropped](const HtmlElement& element) {
    return IsNamedAsClutter(element) || dropped.contains(element.Key());
  };

  std::string body;
  for (const int index : chosen) {
    const HtmlElement& element = blocks[static_cast<std::size_t>(index)].element;
    body += index == best ? html.InnerHtmlOf(element, rules) : html.OuterHtmlOf(element, rules);
  }
  return FinishedArticle(ArticleHead(heading.title, heading.dateLine), body);
}

}  // namespace langxing
