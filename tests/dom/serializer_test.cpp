// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "core/html_attributes.hpp"
#include "core/html_serializer.hpp"
#include "core/text.hpp"

namespace langxing {
namespace {

// The page's body: everything in it, even comments and scripts up front, belongs to the body.
std::string InnerHtml(std::string_view body) {
  return Utf16ToUtf8(SerializeBody(Utf8ToUtf16("<body>" + std::string(body))).innerHtml);
}

std::string InnerText(std::string_view body) {
  return Utf16ToUtf8(SerializeBody(Utf8ToUtf16("<body>" + std::string(body))).innerText);
}

struct Case {
  const char* name;
  const char* page;
  const char* expected;
};

void ExpectInnerHtml(const std::vector<Case>& cases) {
  for (const auto& c : cases) EXPECT_EQ(InnerHtml(c.page), c.expected) << c.name;
}

TEST(SerializeBody, WritesElementNames) {
  ExpectInnerHtml({
      {"known names in upper case", "<Span>x</span><b>y</B>", "<SPAN>x</SPAN><B>y</B>"},
      {"unknown name as written", "<foo-Bar>q</foo-Bar>", "<foo-Bar>q</foo-Bar>"},
      {"unknown name with attributes", "<x:Tag a=1>q</x:Tag>", "<x:Tag a=\"1\">q</x:Tag>"},
  });
}

TEST(SerializeBody, WritesVoidElementsWithoutEndTag) {
  ExpectInnerHtml({
      {"br and img", "a<br/>b<img src=a.gif>", "a<BR>b<IMG src=\"a.gif\">"},
      {"input", "<input type=text value=1>", "<INPUT type=text value=1>"},
      {"old voids", "<span><bgsound src=s.mid><wbr></span>",
       "<SPAN><BGSOUND src=\"s.mid\"><WBR></SPAN>"},
      {"embed and param", "<object><param name=a value=b><embed src=x.swf></object>",
       "<OBJECT><PARAM name=a value=b><EMBED src=\"x.swf\"></OBJECT>"},
  });
}

TEST(SerializeBody, WritesEveryEndTagAndImpliedTbody) {
  ExpectInnerHtml({
      {"implied p end", "<p>a<p>b", "<P>a</P>\r\n<P>b</P>"},
      {"implied li end", "<ul><li>a<li>b</ul>", "<UL>\r\n<LI>a</LI>\r\n<LI>b</LI></UL>"},
      {"implied tbody", "<table><tr><td>x</table>",
       "<TABLE>\r\n<TBODY>\r\n<TR>\r\n<TD>x</TD></TR></TBODY></TABLE>"},
      {"unclosed inline", "<b>bold", "<B>bold</B>"},
  });
}

TEST(SerializeBody, BreaksTheLineBeforeBlockStartTagsOnly) {
  ExpectInnerHtml({
      {"block first in output", "<div>x</div>", "<DIV>x</DIV>"},
      {"block after text", "x<div>y</div><span>z</span>", "x\r\n<DIV>y</DIV><SPAN>z</SPAN>"},
      {"block after comment", "<!--c--><center>y</center>", "<!--c-->\r\n<CENTER>y</CENTER>"},
      {"headings and lists", "<h1>t</h1><dl><dt>a<dd>b</dl>",
       "<H1>t</H1>\r\n<DL>\r\n<DT>a</DT>\r\n<DD>b</DD></DL>"},
      {"hr is a void block", "a<hr>b", "a\r\n<HR>b"},
      {"inline elements stay on the line", "<a href=u>x</a><font color=red>y</font>",
       "<A href=\"u\">x</A><FONT color=red>y</FONT>"},
  });
}

TEST(SerializeBody, WritesCommentsAndScriptsVerbatim) {
  ExpectInnerHtml({
      {"comment", "x<!-- a & b <c> -->", "x<!-- a & b <c> -->"},
      {"script raw", "<script>if (a < b && c) x = \"&amp;\";</script>",
       "<SCRIPT>if (a < b && c) x = \"&amp;\";</SCRIPT>"},
      {"style raw", "<style>p > b { color: red }</style>", "<STYLE>p > b { color: red }</STYLE>"},
      {"script keeps white space", "<script>a\n\n  b</script>", "<SCRIPT>a\n\n  b</SCRIPT>"},
  });
}

TEST(SerializeBody, SpellsAttributeNames) {
  ExpectInnerHtml({
      {"dom property spelling",
       "<table cellspacing=0 cellpadding=2 bordercolor=red><tr valign=top><td colspan=2 "
       "rowspan=3>x</td></tr></table>",
       "<TABLE cellSpacing=0 cellPadding=2 borderColor=red>\r\n<TBODY>\r\n<TR vAlign=top>\r\n"
       "<TD colSpan=2 rowSpan=3>x</TD></TR></TBODY></TABLE>"},
      {"html attributes lower case", "<A HREF=u TARGET=_blank>x</A>",
       "<A href=\"u\" target=_blank>x</A>"},
      {"for and http-equiv", "<label FOR=f>l</label><meta HTTP-EQUIV=refresh>",
       "<LABEL for=f>l</LABEL><META http-equiv=refresh>"},
      {"frames and images",
       "<iframe FRAMEBORDER=0 MARGINWIDTH=0 scrolling=no></iframe><img usemap=#m ismap>",
       "<IFRAME frameBorder=0 marginWidth=0 scrolling=no></IFRAME><IMG useMap=#m isMap>"},
  });
}

TEST(SerializeBody, KeepsCustomAttributesAsWrittenAfterTheOthers) {
  ExpectInnerHtml({
      {"custom spelling and quotes", "<div PID=3 scw_IG=x>y</div>",
       "<DIV PID=\"3\" scw_IG=\"x\">y</DIV>"},
      {"custom after html", "<span data-X=1 title=t>y</span>",
       "<SPAN title=t data-X=\"1\">y</SPAN>"},
      {"empty custom", "<span pid>y</span>", "<SPAN pid>y</SPAN>"},
  });
}

TEST(SerializeBody, OrdersAttributes) {
  ExpectInnerHtml({
      {"leading six first",
       "<a target=_blank title=t pid=1 href=u class=c id=i style=\"color:red\" name=n>x</a>",
       "<A style=\"COLOR: red\" id=i class=c name=n href=\"u\" target=_blank title=t "
       "pid=\"1\">x</A>"},
      {"src before other attributes", "<img alt=a width=1 src=s.gif height=2>",
       "<IMG src=\"s.gif\" alt=a width=1 height=2>"},
      {"href before target", "<a target=_blank href=http://x/>l</a>",
       "<A href=\"http://x/\" target=_blank>l</A>"},
  });
}

TEST(SerializeBody, QuotesAndEscapesValuesOnlyWhereNeeded) {
  ExpectInnerHtml({
      {"plain values bare", "<div width=50 align=center>x</div>",
       "<DIV width=50 align=center>x</DIV>"},
      {"percent and space", "<table width=\"50%\" summary=\"a b\"></table>",
       "<TABLE width=\"50%\" summary=\"a b\"></TABLE>"},
      {"empty value", "<div align=\"\">x</div>", "<DIV align=\"\">x</DIV>"},
      {"each special character",
       "<span title=\"a'b\" lang=\"a=b\" dir=\"a<b\" rel=\"a>b\" rev=\"a`b\" "
       "abbr=\"a&amp;b\">x</span>",
       "<SPAN title=\"a'b\" lang=\"a=b\" dir=\"a<b\" rel=\"a>b\" rev=\"a`b\" "
       "abbr=\"a&amp;b\">x</SPAN>"},
      {"quote escaped", "<span title='say \"hi\" & go'>x</span>",
       "<SPAN title=\"say &quot;hi&quot; &amp; go\">x</SPAN>"},
      {"href always quoted and escaped", "<a href=\"?a=1&amp;b=2\">x</a>",
       "<A href=\"?a=1&amp;b=2\">x</A>"},
      {"chinese value bare", "<img alt=新浪 src=a>", "<IMG src=\"a\" alt=新浪>"},
  });
}

TEST(SerializeBody, WritesBooleanAttributesBare) {
  ExpectInnerHtml({
      {"nowrap", "<table><tr><td nowrap>x</td></tr></table>",
       "<TABLE>\r\n<TBODY>\r\n<TR>\r\n<TD noWrap>x</TD></TR></TBODY></TABLE>"},
      {"checked and readonly", "<input checked readonly>", "<INPUT checked readOnly>"},
      {"explicitly empty is quoted", "<input checked=\"\">", "<INPUT checked=\"\">"},
  });
}

TEST(SerializeBody, LowerCasesHexColours) {
  ExpectInnerHtml({
      {"bgcolor", "<table bgcolor=\"#EEEEEE\"></table>", "<TABLE bgColor=#eeeeee></TABLE>"},
      {"font color", "<font color=#FF00Aa>x</font>", "<FONT color=#ff00aa>x</FONT>"},
      {"named colour unchanged", "<font color=RED>x</font>", "<FONT color=RED>x</FONT>"},
      {"short form unchanged", "<font color=#EEE>x</font>", "<FONT color=#EEE>x</FONT>"},
      {"not a colour attribute", "<span title=#ABCDEF>x</span>", "<SPAN title=#ABCDEF>x</SPAN>"},
  });
}

TEST(RebuildStyle, NormalisesDeclarations) {
  const std::pair<const char*, const char*> cases[] = {
      {"padding-left:5px;padding-top:5px", "PADDING-LEFT: 5px; PADDING-TOP: 5px"},
      {"  color : red ; ; ", "COLOR: red"},
      {"font: 12px  Arial;", "FONT: 12px  Arial"},
      {"font-family: 'a;b', serif", "FONT-FAMILY: 'a;b', serif"},
      {"background:url(data:image/png;base64,AA==)", "BACKGROUND: url(data:image/png;base64,AA==)"},
      {"margin:0;bogus;:1px;width:", "MARGIN: 0"},
      {"", ""},
  };
  for (const auto& [style, expected] : cases)
    EXPECT_EQ(html::RebuildStyle(style), expected) << style;
}

TEST(SerializeBody, RebuildsStyleAndAlwaysQuotesIt) {
  ExpectInnerHtml({
      {"quoted even when simple", "<div style=color:red>x</div>",
       "<DIV style=\"COLOR: red\">x</DIV>"},
      {"quotes escaped", "<div style='font-family:\"A B\"'>x</div>",
       "<DIV style=\"FONT-FAMILY: &quot;A B&quot;\">x</DIV>"},
      {"empty style", "<div style=\"\">x</div>", "<DIV style=\"\">x</DIV>"},
  });
}

TEST(SerializeBody, EscapesText) {
  ExpectInnerHtml({
      {"markup characters", "a &amp; b &lt; c &gt; d", "a &amp; b &lt; c &gt; d"},
      {"no-break space",
       "d&nbsp;e\xC2\xA0"
       "f",
       "d&nbsp;e&nbsp;f"},
      {"references become characters", "&#26032;&#x6D6A; &copy; &quot;'", "新浪 © \"'"},
      {"chinese as is", "新浪网", "新浪网"},
  });
}

TEST(SerializeBody, CollapsesWhiteSpace) {
  ExpectInnerHtml({
      {"runs in text", "<b>a \r\n\t b</b>", "<B>a b</B>"},
      {"text edges keep one space", "<table><tr><td>\r\n\tfoo\r\n</td></tr></table>",
       "<TABLE>\r\n<TBODY>\r\n<TR>\r\n<TD> foo </TD></TR></TBODY></TABLE>"},
      {"between inline neighbours", "<span>x</span> \n <span>y</span>",
       "<SPAN>x</SPAN> <SPAN>y</SPAN>"},
      {"first and last child dropped", "<div> <b>x</b> </div>", "<DIV><B>x</B></DIV>"},
      {"next to a block dropped", "<b>x</b>\n<div>y</div>\n<b>z</b>",
       "<B>x</B>\r\n<DIV>y</DIV><B>z</B>"},
      {"inside table structure dropped",
       "<table>\n <colgroup> <col> </colgroup>\n <tr>\n  <td>x</td>\n  <td>y</td>\n "
       "</tr>\n</table>",
       "<TABLE>\r\n<COLGROUP>\r\n<COL></COLGROUP>\r\n<TBODY>\r\n<TR>\r\n<TD>x</TD>\r\n<TD>y</TD></"
       "TR></TBODY></TABLE>"},
      {"pre keeps it", "<pre>a  \n b<b> c  d</b></pre>", "<PRE>a  \n b<B> c  d</B></PRE>"},
      {"textarea keeps it", "<textarea>a   b\n</textarea>", "<TEXTAREA>a   b\n</TEXTAREA>"},
  });
}

// A foreign element the parser would take for a table cell or select is written under its
// new name; the page no longer aborts the parser.
TEST(SerializeBody, WritesRenamedForeignElementsByTheirNewName) {
  ExpectInnerHtml({
      {"SVG cell open when the table closes", "<table><svg><td><title><select></table>x",
       "<SVG><td-><TITLE><SELECT></SELECT></TITLE></td-></SVG>\r\n<TABLE></TABLE>x"},
      {"MathML select open when the table closes", "<table><math><select><mi><select></table>",
       "<MATH><select-><MI><SELECT></SELECT></MI></select-></MATH>\r\n<TABLE></TABLE>"},
  });
}

TEST(SerializeBody, MatchesTheWorkedListingExample) {
  const std::string page =
      "<center><table><tr bgcolor=\"#EEEEEE\"><td>...</td></tr>\n"
      "  <tr><td style=\"padding-left:5px;padding-top:5px\" height=\"30\"><b>标题</b></td></tr>\n"
      "  <tr><td><span><a target=\"_blank\" "
      "href=\"http://x.sina.com.cn/?url=http://news.sina.com.cn/a.shtml\">http://...</a></span></"
      "td></tr>\n"
      "  <tr><td height=\"20\"></td></tr>\n"
      "</table></center>\n";
  EXPECT_EQ(
      InnerHtml(page),
      "<CENTER>\r\n<TABLE>\r\n<TBODY>\r\n<TR bgColor=#eeeeee>\r\n<TD>...</TD></TR>\r\n<TR>\r\n"
      "<TD style=\"PADDING-LEFT: 5px; PADDING-TOP: 5px\" height=30><B>标题</B></TD></TR>\r\n"
      "<TR>\r\n<TD><SPAN><A "
      "href=\"http://x.sina.com.cn/?url=http://news.sina.com.cn/a.shtml\" "
      "target=_blank>http://...</A></SPAN></TD></TR>\r\n<TR>\r\n"
      "<TD height=20></TD></TR></TBODY></TABLE></CENTER>");
}

TEST(SerializeBody, InnerTextLeavesOutScriptsStylesAndComments) {
  EXPECT_EQ(InnerText("a<script>x()</script><style>p{}</style><!--c-->b &amp; c&#26032;"),
            "ab & c新");
  EXPECT_EQ(InnerText("<p>&lt;new&gt;1.3&lt;/new&gt;</p>"), "<new>1.3</new>");
}

TEST(SerializeBody, InnerTextBreaksLines) {
  const Case cases[] = {
      {"paragraphs", "<p>one   two</p><p>three</p>", "one two\r\nthree"},
      {"br", "a<br>b<br><br>c", "a\r\nb\r\n\r\nc"},
      {"table cells separated by a space",
       "<table><tr><td>a</td><td> b </td></tr><tr><td>c</td></tr></table>", "a b\r\nc"},
      {"pre kept", "<pre>x  y\n z</pre>", "x  y\n z"},
      {"edges trimmed of line breaks", "<br><br>x<br><div></div>", "x"},
      {"block not glued to text before it", "lead<div>inner</div>tail", "lead\r\ninner\r\ntail"},
      {"inline spacing across nodes", "a <b> b </b> c", "a b c"},
  };
  for (const auto& c : cases) EXPECT_EQ(InnerText(c.page), c.expected) << c.name;
}

}  // namespace
}  // namespace langxing
