// Plain UTF-8 literals: these pages are what the site sends, in UTF-8.
#include "demo/demo_pages.h"

#include <algorithm>

#include "web/site_patterns.h"

namespace {

constexpr std::string_view kBlockBreak = "\r\n        ";   // what the result pattern expects
constexpr std::string_view kNotUtf8 = "\xFF\xFE\xE6\x90";  // stray bytes, then a cut-off sequence

bool SameLetter(char a, char b) {
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  return lower(a) == lower(b);
}

// Position of `needle` in UTF-8 `text` from `from`, ASCII letter case ignored; UTF-8 never
// starts a character inside another, so a byte-wise match is a match of whole characters.
size_t FindFolded(std::string_view text, std::string_view needle, size_t from) {
  auto at = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(),
                        needle.begin(), needle.end(), SameLetter);
  return at == text.end() ? std::string_view::npos : static_cast<size_t>(at - text.begin());
}

bool NameHolds(std::string_view name, std::string_view keyword) {
  return keyword.empty() || FindFolded(name, keyword, 0) != std::string_view::npos;
}

// The title as the site prints it: every occurrence of the keyword wrapped in <em></em>.
void AppendHighlighted(std::string& out, std::string_view name, std::string_view keyword) {
  size_t from = 0;
  for (size_t at; !keyword.empty() && (at = FindFolded(name, keyword, from)) != name.npos;) {
    out.append(name.substr(from, at - from)).append("<em>");
    out.append(name.substr(at, keyword.size())).append("</em>");
    from = at + keyword.size();
  }
  out.append(name.substr(from));
}

std::string EscapeHtml(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

void AppendHeader(std::string& out, std::string_view title) {
  out.append("<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n<title>")
      .append(title)
      .append(
          " - 演示书站</title>\r\n<link rel=\"stylesheet\" href=\"/skin/css/style.css\">\r\n"
          "</head>\r\n<body>\r\n<div class=\"header\"><a href=\"/\" class=\"logo\">演示书站</a>\r\n"
          "<form action=\"/e/search/index.php\" method=\"post\"><input type=\"hidden\" "
          "name=\"classid\" value=\"0\"><input type=\"hidden\" name=\"show\" value=\"title\">"
          "<input type=\"text\" name=\"keyboard\"><input type=\"submit\" name=\"Submit22\" "
          "value=\"搜索\"></form></div>\r\n<div class=\"nav\"><a href=\"/\">首页</a> "
          "<a href=\"/txt/gudian/\">古典名著</a> <a href=\"/txt/Young/\">青春文学</a> "
          "<a href=\"/txt/paihang/\">排行榜</a></div>\r\n");
}

void AppendFooter(std::string& out) {
  out.append(
      "<div class=\"footer\">演示书站 · 本站书目与正文均为测试而写，不代表任何真实网站。</div>\r\n"
      "</body>\r\n</html>\r\n");
}

std::string Page(std::string_view title, std::string_view content) {
  std::string page;
  AppendHeader(page, title);
  page.append(content);
  AppendFooter(page);
  return page;
}

void AppendResult(std::string& out, const DemoBook& book, std::string_view keyword,
                  const SearchPageOptions& page) {
  const std::string pagePath = "/txt/" + book.pageId + ".html";
  out.append(kBlockBreak).append("<div class=\"searchTopic\"><a href=\"").append(pagePath);
  out.append("\" class=\"searchtitle\" target=\"_blank\">");
  AppendHighlighted(out, book.name, keyword);
  out.append("</a>&nbsp;&nbsp;作者：").append(book.author).append("</div>");
  out.append(kBlockBreak).append("<div class=\"searchIntro\">").append(book.intro);
  if (page.invalidUtf8) out.append(kNotUtf8);
  out.append("</div>").append(kBlockBreak).append("<div class=\"searchInfo\"><a href=\"");
  out.append(pagePath).append("\" class=\"g\">http://").append(page.siteHost).append(pagePath);
  out.append("</a> - [<a href=/txt/gudian/>古典名著</a>]&nbsp;").append(DemoSizeText(book.size));
  out.append("&nbsp;日期：<span class=\"oldDate\">").append(book.date).append("</span></div>");
}

// The books the page lists: the matching ones, or exactly resultCount rows taking every
// book in turn.
std::vector<const DemoBook*> ListedBooks(std::string_view keyword,
                                         const std::vector<DemoBook>& catalogue, int resultCount) {
  std::vector<const DemoBook*> listed;
  if (resultCount >= 0) {
    for (int i = 0; i < std::min(resultCount, kMaxSearchResults) && !catalogue.empty(); ++i) {
      listed.push_back(&catalogue[static_cast<size_t>(i) % catalogue.size()]);
    }
    return listed;
  }
  for (const DemoBook& book : catalogue) {
    if (NameHolds(book.name, keyword)) listed.push_back(&book);
  }
  return listed;
}

}  // namespace

std::string MakeSearchPage(std::string_view keywordUtf8, const std::vector<DemoBook>& catalogue,
                           const SearchPageOptions& page) {
  const std::vector<const DemoBook*> listed = ListedBooks(keywordUtf8, catalogue, page.resultCount);
  std::string out;
  out.reserve(2048 + listed.size() * 640);
  AppendHeader(out, "搜索结果");
  out.append("<div class=\"searchResult\">\r\n<h2>搜索“").append(EscapeHtml(keywordUtf8));
  out.append("”共找到 ").append(std::to_string(listed.size())).append(" 本书</h2>");
  if (page.invalidUtf8) out.append(kNotUtf8);
  out.append("\r\n<div class=\"searchList\">");
  for (const DemoBook* book : listed) AppendResult(out, *book, keywordUtf8, page);
  if (listed.empty()) out.append(kBlockBreak).append("<p>没有找到相关的书，请换个关键字试试。</p>");
  out.append("\r\n</div>\r\n</div>\r\n");
  AppendFooter(out);
  return out;
}

std::string MakeSearchPage(std::string_view keywordUtf8, int resultCount) {
  static const std::vector<DemoBook> catalogue = DemoCatalogue();
  SearchPageOptions page;
  page.resultCount = resultCount;
  return MakeSearchPage(keywordUtf8, catalogue, page);
}

std::string MakeSearchErrorPage() {
  return Page("出错了",
              "<div class=\"msg\">搜索请求不完整，请从页面上的搜索框重新提交。</div>\r\n");
}

std::string MakeBookPage(const DemoBook& book) {
  std::string content = "<div class=\"bookInfo\">\r\n<h1>" + book.name + "</h1>\r\n<p>作者：" +
                        book.author + "</p>\r\n<p class=\"intro\">" + book.intro +
                        "</p>\r\n<p>大小：" + DemoSizeText(book.size) + "　日期：" + book.date +
                        "</p>\r\n</div>\r\n<ul class=\"downAddress\">\r\n";
  content += "<li class=\"downAddress_li\"><a href=\"/txt/" + book.downloadId +
             ".html\" title=\"TXT下载\">TXT下载</a></li>\r\n</ul>\r\n";
  return Page(book.name, content);
}

std::string MakeDownloadPage(const DemoBook& book, std::string_view fileHost) {
  std::string content = "<div class=\"downInfo\">\r\n<h1>" + book.name + " TXT下载</h1>\r\n<p>";
  content +=
      "<img src=\"/skin/css/icons/bookdown.png\" height=\"18\" width=\"18\" "
      "align=\"absmiddle\" /><a href=\"http://";
  content += std::string(fileHost) + std::string(kFileServerPath) + DemoBookYear(book) + "/" +
             book.linkName + ".txt\" class=\"strong green\">点击下载</a></p>\r\n</div>\r\n";
  return Page(book.name + " TXT下载", content);
}

std::string MakeStatusPage(int status) {
  const bool notFound = status == 404;
  const std::string title = notFound ? "404 Not Found" : std::to_string(status) + " Server Error";
  return Page(title, "<div class=\"msg\"><h1>" + title + "</h1><p>" +
                         (notFound ? "没有找到这个页面。" : "服务器出了点问题，请稍后再试。") +
                         "</p></div>\r\n");
}
