#pragma once
// What the tool knows of the novel site's pages and addresses: the search form, the patterns
// that cut its pages, and the file server's path. Texts are code page 936; the Chinese words
// are written as escaped bytes so this header also builds with clang.

#include <string_view>

// Search form: POST to this path on the novel site, body = prefix + the keyword's UTF-8
// bytes percent-encoded + suffix (the suffix's value is "搜索" in UTF-8).
inline constexpr std::string_view kSearchPath = "/e/search/index.php";
inline constexpr std::string_view kSearchBodyPrefix = "classid=0&show=title&keyboard=";
inline constexpr std::string_view kSearchBodySuffix = "&Submit22=%E6%90%9C%E7%B4%A2";

// One search result; groups: 1 name, 2 author, 3 introduction, 4 book page address,
// 5 size, 6 date. Each \r\n is followed by eight spaces. "[<a href=/txt/Young/>[\s\S]" is a
// character class that holds \s and \S, so "*?" after it skips to the next "&nbsp;".
// \xD7\xF7\xD5\xDF\xA3\xBA is "作者：", \xC8\xD5\xC6\xDA\xA3\xBA is "日期：".
inline constexpr std::string_view kResultPattern =
    "<div class=\"searchTopic\">[\\s\\S]*?<a href=\"[\\s\\S]*?\" class=\"searchtitle\" "
    "target=\"_blank\">([\\s\\S]*?)</a>&nbsp;&nbsp;\xD7\xF7\xD5\xDF\xA3\xBA([\\s\\S]*?)</div>"
    "\r\n        <div class=\"searchIntro\">([\\s\\S]*?)</div>\r\n        <div "
    "class=\"searchInfo\"><a href=\"[\\s\\S]*?\" class=\"g\">([\\s\\S]*?)</a> - "
    "[<a href=/txt/Young/>[\\s\\S]*?&nbsp;([\\s\\S]*?)&nbsp;\xC8\xD5\xC6\xDA\xA3\xBA<span "
    "class=\"oldDate\">([\\s\\S]*?)</span></div>";

// Result row columns (0-based) as the result pattern's groups fill them.
inline constexpr int kColumnName = 0;
inline constexpr int kColumnAuthor = 1;
inline constexpr int kColumnIntro = 2;
inline constexpr int kColumnPageAddress = 3;
inline constexpr int kColumnSize = 4;
inline constexpr int kColumnDate = 5;
inline constexpr int kResultColumns = 6;

// Group 1: the year of a date written year-month-day.
inline constexpr std::string_view kDatePattern = "([\\s\\S]*?)-[\\s\\S]*?-[\\s\\S]*?";

// On a book page, group 1: the name of its download page under /txt/.
inline constexpr std::string_view kDownloadPagePattern =
    "<li class=\"downAddress_li\"><a href=\"/txt/([\\s\\S]*?).html\"";

// On a download page, group 1: the download link without its "http://".
inline constexpr std::string_view kDownloadLinkPattern =
    "<img src=\"/skin/css/icons/bookdown.png\" height=\"18\" width=\"18\" align=\"absmiddle\" "
    "/><a href=\"http://([\\s\\S]*?)\" class=\"strong green\"";

// Computed address: "http://" + file host + this + year + "/" + encoded name + ".txt".
inline constexpr std::string_view kFileServerPath = "/d/file/p/txt/";
