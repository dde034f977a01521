#include "demo/demo_catalogue.h"

#include <cstdio>

#include "demo/catalogue_texts.h"
#include "demo/generated_book.h"
#include "text/code_page.h"
#include "text/text_find.h"
#include "text/url_encode.h"
#include "web/site_patterns.h"

namespace {

constexpr int kFirstPageId = 1001;
constexpr int kFirstHostilePageId = 9001;

// Names a careless client would turn into paths outside its folder, or into no file at all.
std::vector<std::string> HostileNames() {
  std::string longName;
  for (int i = 0; i < 100; ++i) longName += "长";  // 300 bytes of UTF-8
  return {"../../evil", "..\\..\\evil", "/etc/passwd", "a:b*c?", "evil\r\nname", longName, ".."};
}

// The file as the site stores it: a title block, then the body, in code page 936 with CR LF.
std::string BookFile(const BookText& text) {
  std::string utf8 = "《" + std::string(text.name) + "》\n作者：" + std::string(text.author) +
                     "\n\n" + std::string(text.body);
  return TextReplaceAll(Utf8ToGbk(utf8), "\n", "\r\n");
}

DemoBook MakeBook(const BookText& text, int pageNumber) {
  DemoBook book;
  book.name = text.name;
  book.linkName = text.linkName.empty() ? text.name : text.linkName;
  book.author = text.author;
  book.intro = text.intro;
  book.date = text.date;
  book.pageId = std::to_string(pageNumber);
  book.downloadId = "down" + book.pageId;
  return book;
}

void AddHostileBooks(std::vector<DemoBook>& books) {
  int pageNumber = kFirstHostilePageId;
  for (const std::string& name : HostileNames()) {
    const BookText text{
        name, "", "测试", "书名是一条危险的路径，保存时必须换成安全的文件名。", "2021-12-12", ""};
    DemoBook book = MakeBook(text, pageNumber++);
    book.content = "A book whose name is a hostile path; save it under a safe name.\r\n";
    book.size = book.content.size();
    books.push_back(std::move(book));
  }
}

}  // namespace

std::vector<DemoBook> DemoCatalogue(const DemoSiteOptions& options) {
  const DemoSiteOptions bounded = Bounded(options);
  std::vector<DemoBook> books;
  int pageNumber = kFirstPageId;
  for (const BookText& text : CatalogueTexts()) {
    DemoBook book = MakeBook(text, pageNumber++);
    book.content = BookFile(text);
    book.size = book.content.size();
    books.push_back(std::move(book));
  }
  DemoBook large = MakeBook(LargeBookText(), pageNumber++);
  large.generated = true;
  large.size = bounded.largeBookBytes;
  books.push_back(std::move(large));
  if (bounded.hostileNames) AddHostileBooks(books);
  return books;
}

std::string DemoBookYear(const DemoBook& book) { return book.date.substr(0, book.date.find('-')); }

std::string DemoBookFilePath(const DemoBook& book) {
  // The name is UTF-8 already, so its own bytes are encoded, as the tool encodes a name's
  // UTF-8 form.
  return std::string(kFileServerPath) + DemoBookYear(book) + "/" + UrlEncode(book.name) + ".txt";
}

std::string DemoSizeText(std::uint64_t bytes) {
  constexpr double kKiB = 1024.0;
  char buffer[32];
  const double value = static_cast<double>(bytes);
  if (value < kKiB * kKiB) {
    std::snprintf(buffer, sizeof buffer, "%.2f KB", value / kKiB);
  } else {
    std::snprintf(buffer, sizeof buffer, "%.2f MB", value / (kKiB * kKiB));
  }
  return buffer;
}

Bytes DemoBookBytes(const DemoBook& book) {
  std::string bytes;
  AppendDemoBookBytes(book, 0, static_cast<size_t>(book.size), bytes);
  return ToBytes(bytes);
}

void AppendDemoBookBytes(const DemoBook& book, std::uint64_t offset, std::size_t length,
                         std::string& out) {
  if (book.generated) {
    AppendGeneratedBytes(offset, length, book.size, out);
  } else if (offset < book.content.size()) {
    out.append(book.content, static_cast<size_t>(offset), length);
  }
}
