#!/usr/bin/env python3
"""Writes the hand-made seed corpus of every fuzz target into fuzz/corpus/<target>/.

The targets read their input with libFuzzer's FuzzedDataProvider: strings from the front
(each ended by a backslash and one more character), integers and flags from the back, one
byte each for the small ranges used here. Run it again after changing a seed; the files are
committed, so CI does not need it.
"""
import pathlib

CORPUS = pathlib.Path(__file__).resolve().parent / "corpus"


def gbk(text):
    return text.encode("gbk")


def provider(strings=(), rest=b"", tail=()):
    """Input that hands out `strings` in order, then `rest`; `tail` holds the integer bytes
    in the order the target takes them (the provider reads them from the end)."""
    front = b"".join(s.replace(b"\\", b"\\\\") + b"\\;" for s in strings)
    return front + rest + bytes(reversed(tail))


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


def extract_between():
    # tail: caseSensitive, position mode (2 = a position follows), position + 3
    def seed(name, start, end, text, case=0, position=1):
        write("extract_between", name,
              provider([start, end], text, [case, 2, position + 3]))

    seed("tags", b"<b>", b"</b>", b"x<b>bold</b>y")
    seed("quote_token", gbk("#引号"), gbk("#引号"), b'<a href="a.txt">')
    seed("chinese_markers", gbk("作者："), b"</div>", gbk("书名 作者：无名氏</div>"))
    seed("ignore_case", b"<B>", b"</b>", b"<b>x</B>")
    seed("case_sensitive", b"<B>", b"</b>", b"<b>x</b><B>y</b>", case=1)
    seed("lead_byte_before_marker", b"<b>", b"</b>", b"\xb0<b>\xb0</b>x</b>")
    seed("late_start", b"=", b";", b"a=1;b=2;c=3", position=5)
    seed("colon", b"", b"", b"Location:  http://h/p \xa1\xa1")
    write("extract_between", "far_start", provider([b"a", b"b"], b"ab", [0, 1]))


def url_parts():
    # tail: reduceToDomain, keepPort
    def seed(name, url, reduce=0, keep=0):
        write("url_parts", name, provider(rest=url, tail=[reduce, keep]))

    seed("full", b"http://www.Example.com:8080/a/b?c=http://x/", keep=1)
    seed("domain", b"http://www.a.b.example.cn/x", reduce=1)
    seed("https", b"HTTPS://A.B/Path?Q")
    seed("no_scheme", b"host:81")
    seed("no_path", b"http://h")
    seed("empty", b"")
    seed("chinese_path", b"http://\xb0\xa1.cn/" + gbk("作者") + b" x.txt")
    seed("port_overflow", b"http://h:99999999999999999999/")


def cookies():
    def seed(name, old, new):
        write("cookies", name, provider([old], new))

    seed("replace", b"a=1; b=2", b"b=3; c=4")
    seed("deleted", b"a=1; b=2", b"a=deleted")
    seed("first_old_wins", b"a=1;a=2", b"")
    seed("old_deleted", b"a=1; x=deleted", b"")
    seed("full_width_spaces", b"a\xa1\xa1=1;\xa1\xa1b=2", b"\xa1\xa1c = 3 ")
    seed("site", b"PHPSESSID=abc; ecmsuser=x", b"ecmsuser=y;ecmspass=deleted;lastt=1")


def url_encode():
    # tail: keepPlain, toUtf8
    def seed(name, text, plain=0, utf8=0):
        write("url_encode", name, provider(rest=text, tail=[plain, utf8]))

    seed("keyword_utf8", gbk("搜索"), utf8=1)
    seed("keyword_gbk", gbk("搜索"))
    seed("plain", b"a b-c.d_e~/", plain=1)
    seed("zero_ends_text", b"ab\x00cd", plain=1, utf8=1)
    seed("stray_lead", b"x\xb0", utf8=1)


def code_page():
    # tail: mode (0 code page 936, 1 UTF-8, 2 UTF-16, 3 any), code page index
    def seed(name, mode, data, page=1):
        write("code_page", name, provider(rest=data, tail=[mode, page]))

    seed("gbk_text", 0, gbk("搜索 Search，作者：")+b"\x80")
    seed("gbk_invalid", 0, b"\x81\x20\xff\xb0")
    seed("utf8_text", 1, "搜索 €".encode())
    seed("utf8_invalid", 1, b"\xe6\x90\xc0\x80\xed\xa0\x80\xf4\x90\x80\x80")
    seed("utf16_combining", 2, "e\u0301a\u030a".encode("utf-16-le"))
    seed("utf16_lone_surrogate", 2, b"\x00\xd8a\x00", page=2)
    seed("shift_jis", 3, b"\x82\xa0\x82\xa2", page=4)
    seed("unknown_code_page", 3, b"abc", page=5)


def header_scan():
    # tail: repeat mode (15: one line repeated), repeatLine, [repeat: two bytes], locationGiven
    def seed(name, raw, location=None, repeat=None, line=0):
        tail = [15 if repeat else 0, line]
        if repeat:
            tail += [(repeat - 1) >> 8, (repeat - 1) & 0xFF]
        tail.append(1 if location is not None else 0)
        strings = [location] if location is not None else []
        write("header_scan", name, provider(strings, raw, tail))

    seed("redirect", b"HTTP/1.1 302 Found\r\nLocation: http://h/next\r\n"
         b"Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n\r\n")
    seed("chain", b"HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 301 Moved\r\nlocation:/x\r\n\r\n"
         b"HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nTrailer: x\r\n", location=b"old")
    seed("no_location", b"HTTP/1.0 200 OK\nServer: x\n\n")
    seed("stray_high_byte", b"HTTP/1.1 200 OK\r\nX: \xb0\r\nLocation: \xa1\xa1/y\r\n\r\n")
    seed("oversized", b"HTTP/1.1 200 OK\r\nX-Filler: " + b"f" * 90 + b"\r\n\r\n",
         repeat=12000, line=1)


RESULT = (
    '\r\n        <div class="searchTopic"><a href="/txt/{id}.html" class="searchtitle" '
    'target="_blank">{name}</a>&nbsp;&nbsp;作者：{author}</div>\r\n        '
    '<div class="searchIntro">{intro}</div>\r\n        <div class="searchInfo"><a href='
    '"/txt/{id}.html" class="g">http://www.example.com/txt/{id}.html</a> - [<a href=/txt/'
    'gudian/>古典名著</a>]&nbsp;{size}&nbsp;日期：<span class="oldDate">{date}</span></div>')


def result_page(books):
    rows = "".join(RESULT.format(**b) for b in books)
    return gbk('<html><body><div class="searchList">' + rows + '\r\n</div></body></html>')


BOOKS = [
    dict(id="1001", name="星辰之歌", author="无名氏", intro="一个关于星星的故事。",
         size="1.2 MB", date="2019-03-07"),
    dict(id="1002", name="海上<em>来</em>信", author="佚名", intro="", size="800 KB",
         date="2021-11-30"),
]


def result_regex():
    write("result_regex", "two_results", result_page(BOOKS))
    write("result_regex", "no_result", gbk("<p>没有找到相关的书。</p>"))
    write("result_regex", "cut_off", result_page(BOOKS[:1])[:-60])


def result_block():
    fields = [b"", b"", b"/txt/1.html", gbk("星辰之歌"), gbk("无名氏"), gbk("故事。\r\n第二行"),
              b"http://h/txt/1.html", b"gudian", gbk("古典"), b"1.2 MB", b"2019-03-07"]
    # tail: spliceRaw, blocks - 1
    write("result_block", "one_block", provider(fields, b"", [0, 0]))
    write("result_block", "two_blocks", provider(fields + fields, b"", [0, 1]))
    write("result_block", "spliced", provider(fields, b"</div>&nbsp;\xb0", [1, 0, 40]))


def safe_file_name():
    names = {
        "parent_slashes": b"../../evil",
        "parent_backslashes": b"..\\..\\evil",
        "absolute": b"/etc/passwd",
        "forbidden": b"a:b*c?",
        "line_break": b"one\r\ntwo",
        "second_byte_backslash": gbk("礬"),
        "long": b"x" * 300,
        "only_dots": b"...",
        "full_width_spaces": gbk("　书名　"),
        "lead_before_slash": b"\x81/evil",
        "chinese": gbk("第1卷 上.下"),
    }
    for name, data in names.items():
        write("safe_file_name", name, data)


if __name__ == "__main__":
    for make in (extract_between, url_parts, cookies, url_encode, code_page, header_scan,
                 result_regex, result_block, safe_file_name):
        make()
