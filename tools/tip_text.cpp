// Writing and reading the text form of a tip file.
#include "tools/tip_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <span>

#include "runtime/cstring.h"
#include "runtime/process.h"
#include "runtime/textmetrics.h"

namespace vistip {
namespace {

constexpr char kRowEnd = '\xAB';

std::string Clipped(std::string_view s) {
  return std::string(rt::detail::ClipBlanks(s));
}

std::string_view Chars(std::span<const std::byte> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

bool Undefined1252(unsigned char c) {
  return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

}  // namespace

void AppendEscaped(std::string& out, std::string_view bytes) {
  // UTF-8 of the bytes 80H-FFH, made once.
  static const std::array<std::string, 128>* const kHigh = [] {
    auto* high = new std::array<std::string, 128>;
    for (int c = 0x80; c <= 0xFF; ++c)
      (*high)[c - 0x80] = rt::Cp1252ToUtf8(std::string(1, static_cast<char>(c)));
    return high;
  }();
  const size_t last = bytes.find_last_not_of(' ');
  const size_t end = last == std::string_view::npos ? 0 : last + 1;  // trailing blanks escaped
  size_t plain = 0;  // start of the run of bytes copied as they are
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c >= 0x20 && c < 0x7F && c != '\\' && (c != ' ' || i < end)) continue;
    out.append(bytes.data() + plain, i - plain);
    plain = i + 1;
    if (c == '\\') {
      out += "\\\\";
    } else if (c < 0x20 || c == 0x7F || Undefined1252(c) || c == ' ') {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += (*kHigh)[c - 0x80];
    }
  }
  out.append(bytes.data() + plain, bytes.size() - plain);
}

std::string EscapeText(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  AppendEscaped(out, bytes);
  return out;
}

std::string Quoted(std::string_view bytes) {
  return "\"" + EscapeText(bytes) + "\"";
}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool Unescape(std::string_view utf8, std::string& out) {
  out.clear();
  std::string plain;
  for (size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] != '\\') {
      plain += utf8[i];
      continue;
    }
    out += rt::Utf8ToCp1252(plain);
    plain.clear();
    if (i + 1 < utf8.size() && utf8[i + 1] == '\\') {
      out += '\\';
      ++i;
    } else if (i + 3 < utf8.size() && utf8[i + 1] == 'x' && HexDigit(utf8[i + 2]) >= 0 &&
               HexDigit(utf8[i + 3]) >= 0) {
      out += static_cast<char>(HexDigit(utf8[i + 2]) * 16 + HexDigit(utf8[i + 3]));
      i += 3;
    } else {
      return false;
    }
  }
  out += rt::Utf8ToCp1252(plain);
  return true;
}

// Calls `part` with each piece of `memo` cut at `sep` (kept at the end of its piece when
// `keep_sep`, and then no empty piece after the last one).
template <typename Part>
void ForEachPart(std::string_view memo, std::string_view sep, bool keep_sep, Part part) {
  if (memo.empty()) return;
  size_t start = 0;
  for (;;) {
    const size_t at = memo.find(sep, start);
    if (at == std::string_view::npos) {
      if (start < memo.size() || !keep_sep) part(memo.substr(start));
      return;
    }
    part(memo.substr(start, at - start + (keep_sep ? sep.size() : 0)));
    start = at + sep.size();
  }
}

std::vector<std::string_view> Split(std::string_view memo, std::string_view sep, bool keep_sep) {
  std::vector<std::string_view> parts;
  ForEachPart(memo, sep, keep_sep, [&parts](std::string_view p) { parts.push_back(p); });
  return parts;
}

}  // namespace

std::string DateText(int32_t day) {
  int y = 0, m = 0, d = 0;
  rt::YmdFromDate(day, y, m, d);
  if (day > 0 && rt::DateFromYmd(y, m, d) == day && y >= 1801 && y <= 9999) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
    return buf;
  }
  return "#" + std::to_string(day);
}

namespace {

bool ParseInt(std::string_view s, int64_t& v) {
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && p == s.data() + s.size();
}

bool ParseDate(std::string_view s, int32_t& day) {
  int64_t v = 0;
  if (!s.empty() && s[0] == '#') {
    if (!ParseInt(s.substr(1), v) || v < INT32_MIN || v > INT32_MAX) return false;
    day = static_cast<int32_t>(v);
    return true;
  }
  int y = 0, m = 0, d = 0;
  char extra = 0;
  if (std::sscanf(std::string(s).c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &extra) != 3) return false;
  day = rt::DateFromYmd(y, m, d);
  return true;
}

}  // namespace

void FromStored(const rt::StoredRecord& row, TipText& t) {
  char rec[kTipRecordSize];
  std::memset(rec, ' ', sizeof rec);
  std::memcpy(rec, row.record.data(), std::min(row.record.size(), sizeof rec));
  auto field = [&rec](std::string& to, size_t offset, size_t size) {
    to.assign(rt::detail::ClipBlanks(std::string_view(rec + offset, size)));
  };
  field(t.procedure, offsetof(TipBuffer, PROCEDURENAME),
        decltype(TipBuffer::PROCEDURENAME)::size());
  field(t.control, offsetof(TipBuffer, CONTROLNAME), decltype(TipBuffer::CONTROLNAME)::size());
  field(t.type, offsetof(TipBuffer, CONTROLTYPE), decltype(TipBuffer::CONTROLTYPE)::size());
  std::memcpy(&t.date, rec + offsetof(TipBuffer, LASTEDITDATE), sizeof t.date);
  t.readonly = static_cast<uint8_t>(rec[offsetof(TipBuffer, READONLY)]);
  t.archive = static_cast<uint8_t>(rec[offsetof(TipBuffer, ARCHIVE)]);
  t.tipstyle = static_cast<uint8_t>(rec[offsetof(TipBuffer, TIPSTYLE)]);
  std::string* memos[] = {&t.text, &t.settings, &t.other};
  for (size_t i = 0; i < std::size(memos); ++i)
    memos[i]->assign(i < row.memos.size() ? rt::detail::ClipBlanks(Chars(row.memos[i])) : "");
}

TipText FromBuffer(const TipBuffer& b) {
  auto bytes = [](std::string_view s) { return std::as_bytes(std::span(s.data(), s.size())); };
  TipText t;
  FromStored({std::as_bytes(std::span(reinterpret_cast<const char*>(&b), kTipRecordSize)),
              {bytes(b.HELPTIP.view()), bytes(b.SETTINGS.view()), bytes(b.OTHER.view())}},
             t);
  return t;
}

void ToBuffer(const TipText& t, TipBuffer& b) {
  b.PROCEDURENAME = t.procedure;
  b.CONTROLNAME = t.control;
  b.CONTROLTYPE = t.type;
  b.LASTEDITDATE = t.date;
  b.READONLY = t.readonly;
  b.ARCHIVE = t.archive;
  b.TIPSTYLE = t.tipstyle;
  b.HELPTIP = t.text;
  b.SETTINGS = t.settings;
  b.OTHER = t.other;
}

namespace {

// "word value": the word alone when the value is empty, so that no line ends in a blank.
void AppendLine(std::string& out, std::string_view word, std::string_view bytes) {
  out += word;
  if (!bytes.empty()) {
    out += ' ';
    AppendEscaped(out, bytes);
  }
  out += '\n';
}

}  // namespace

void AppendTipText(std::string& out, const TipText& t) {
  out += "tip\n";
  AppendLine(out, "procedure", t.procedure);
  AppendLine(out, "control", t.control);
  AppendLine(out, "type", t.type);
  out.append("date ").append(DateText(t.date)).append("\n");
  out.append("flags ").append(std::to_string(t.readonly)).append(" ");
  out.append(std::to_string(t.archive)).append(" ").append(std::to_string(t.tipstyle));
  // The stored width: bytes 0-1 of the third memo; an unset memo reads as blanks.
  const auto lo = static_cast<uint8_t>(t.other.size() > 0 ? t.other[0] : ' ');
  const auto hi = static_cast<uint8_t>(t.other.size() > 1 ? t.other[1] : ' ');
  out.append("\nwidth ")
      .append(std::to_string(static_cast<int16_t>(static_cast<uint16_t>(lo | hi << 8))))
      .append("\n");
  if (t.other.size() > 2) {
    out += "other ";
    for (size_t i = 2; i < t.other.size(); ++i) {
      char hex[3];
      std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(t.other[i]));
      out += hex;
    }
    out += "\n";
  }
  out += "text\n";
  auto memo_line = [&out](std::string_view line) { AppendLine(out, ">", line); };
  ForEachPart(t.text, "\r\n", false, memo_line);
  out += "settings\n";
  ForEachPart(t.settings, std::string_view(&kRowEnd, 1), true, memo_line);
  out += "end\n";
}

std::string WriteTipText(const std::vector<TipText>& tips) {
  std::string out(kTipTextHeader);
  for (const TipText& t : tips) AppendTipText(out, t);
  return out;
}

TipTextError ReadTipText(std::string_view input, std::vector<TipText>& tips) {
  if (!input.empty() && input.back() == '\n') input.remove_suffix(1);  // the last line's end
  std::vector<std::string_view> lines = Split(input, "\n", false);
  int n = 0;
  auto fail = [&](const std::string& why) { return TipTextError{n, why}; };
  size_t i = 0;
  auto next = [&](std::string_view& line) {
    if (i >= lines.size()) return false;
    line = lines[i++];
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    n = static_cast<int>(i);
    return true;
  };
  std::string_view line;
  if (!next(line) || line != kTipTextHeader.substr(0, kTipTextHeader.size() - 1))
    return fail("the first line must be \"vistip-tips 1\"");
  while (next(line)) {
    if (line.empty()) continue;
    if (line != "tip") return fail("expected \"tip\"");
    TipText t;
    std::string width_bytes = "  ";
    std::string rest_of_other;
    enum { kFields, kText, kSettings } part = kFields;
    std::vector<std::string> text_lines;
    bool ended = false;
    while (!ended && next(line)) {
      const size_t sp = line.find(' ');
      const std::string_view word = line.substr(0, sp);
      const std::string_view value = sp == std::string_view::npos ? "" : line.substr(sp + 1);
      std::string bytes;
      if (word == ">") {
        if (part == kFields) return fail("a \"> \" line outside text or settings");
        if (!Unescape(value, bytes)) return fail("bad escape");
        if (part == kText)
          text_lines.push_back(bytes);
        else
          t.settings += bytes;
      } else if (word == "text") {
        part = kText;
      } else if (word == "settings") {
        part = kSettings;
      } else if (word == "end") {
        ended = true;
      } else if (part != kFields) {
        return fail("unexpected line \"" + std::string(word) + "\" in a memo");
      } else if (word == "procedure" || word == "control" || word == "type") {
        if (!Unescape(value, bytes)) return fail("bad escape");
        // A longer value would be cut when stored: refused rather than shortened unnoticed.
        const size_t room = word == "type"      ? decltype(TipBuffer::CONTROLTYPE)::size()
                            : word == "control" ? decltype(TipBuffer::CONTROLNAME)::size()
                                                : decltype(TipBuffer::PROCEDURENAME)::size();
        if (Clipped(bytes).size() > room)
          return fail("the " + std::string(word) + " is longer than " + std::to_string(room) +
                      " characters");
        (word == "procedure" ? t.procedure : word == "control" ? t.control : t.type) = bytes;
      } else if (word == "date") {
        if (!ParseDate(value, t.date)) return fail("bad date");
      } else if (word == "flags") {
        unsigned a = 0, b = 0, c = 0;
        char extra = 0;
        if (std::sscanf(std::string(value).c_str(), "%u %u %u%c", &a, &b, &c, &extra) != 3 ||
            a > 255 || b > 255 || c > 255)
          return fail("bad flags");
        t.readonly = static_cast<uint8_t>(a);
        t.archive = static_cast<uint8_t>(b);
        t.tipstyle = static_cast<uint8_t>(c);
      } else if (word == "width") {
        int64_t w = 0;
        if (!ParseInt(value, w) || w < -32768 || w > 65535) return fail("bad width");
        const auto u = static_cast<uint16_t>(w);
        width_bytes = {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
      } else if (word == "other") {
        if (value.size() % 2 != 0) return fail("bad other bytes");
        for (size_t k = 0; k < value.size(); k += 2) {
          const int hi = HexDigit(value[k]), lo = HexDigit(value[k + 1]);
          if (hi < 0 || lo < 0) return fail("bad other bytes");
          rest_of_other += static_cast<char>(hi * 16 + lo);
        }
      } else {
        return fail("unknown line \"" + std::string(word) + "\"");
      }
    }
    if (!ended) return fail("the tip has no \"end\"");
    for (size_t k = 0; k < text_lines.size(); ++k) t.text += (k ? "\r\n" : "") + text_lines[k];
    if (t.text.size() > 10000 || t.settings.size() > 10000 || rest_of_other.size() > 998)
      return fail("a memo is longer than it can be");
    t.other = Clipped(width_bytes + rest_of_other);
    tips.push_back(std::move(t));
  }
  return {};
}

}  // namespace vistip
