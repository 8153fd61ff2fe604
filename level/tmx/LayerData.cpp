#include "level/tmx/LayerData.h"

#include <zlib.h>
#include <zstd.h>

#include <charconv>
#include <cmath>
#include <limits>

namespace Tmx::Data {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

template <typename T>
bool ParseWhole(std::string_view text, T& out) {
  if (text.empty()) return false;
  T value{};
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return false;
  out = value;
  return true;
}

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

bool Inflate(const std::vector<unsigned char>& in, std::size_t limit,
             std::vector<unsigned char>& out, std::string& error) {
  z_stream stream{};
  // 15 + 32 takes a zlib or a gzip header alike.
  if (inflateInit2(&stream, 15 + 32) != Z_OK) {
    error = "cannot start zlib";
    return false;
  }
  // One byte of room past the limit tells a stream that is too long.
  out.resize(limit + 1);
  stream.next_in = const_cast<Bytef*>(in.data());
  stream.avail_in = static_cast<uInt>(in.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  int result = inflate(&stream, Z_FINISH);
  std::size_t produced = out.size() - stream.avail_out;
  inflateEnd(&stream);
  if (produced > limit) {
    error = "data decompresses to more than " + std::to_string(limit) + " bytes";
    return false;
  }
  if (result != Z_STREAM_END) {
    error = in.empty() ? "compressed data is empty" : "compressed data is corrupt or truncated";
    return false;
  }
  out.resize(produced);
  return true;
}

bool Unzstd(const std::vector<unsigned char>& in, std::size_t limit,
            std::vector<unsigned char>& out, std::string& error) {
  ZSTD_DCtx* context = ZSTD_createDCtx();
  if (!context) {
    error = "cannot start zstd";
    return false;
  }
  out.resize(limit + 1);
  ZSTD_inBuffer input{in.data(), in.size(), 0};
  ZSTD_outBuffer output{out.data(), out.size(), 0};
  bool ended = false;
  bool failed = false;
  while (!ended && output.pos < output.size) {
    std::size_t result = ZSTD_decompressStream(context, &output, &input);
    if (ZSTD_isError(result)) {
      failed = true;
      break;
    }
    if (result == 0) {
      ended = true;
    } else if (input.pos == input.size && output.pos < output.size) {
      break;  // wants more input than there is
    }
  }
  ZSTD_freeDCtx(context);
  if (output.pos > limit) {
    error = "data decompresses to more than " + std::to_string(limit) + " bytes";
    return false;
  }
  if (failed || !ended) {
    error = "compressed data is corrupt or truncated";
    return false;
  }
  out.resize(output.pos);
  return true;
}

}  // namespace

bool ParseInt(std::string_view text, int& out) { return ParseWhole(text, out); }

bool ParseUint32(std::string_view text, std::uint32_t& out) { return ParseWhole(text, out); }

bool ParseFloat(std::string_view text, float& out) {
  double value = 0.0;
  if (!ParseWhole(text, value) || !std::isfinite(value) ||
      std::fabs(value) > std::numeric_limits<float>::max())
    return false;
  out = static_cast<float>(value);
  return true;
}

bool DecodeBase64(std::string_view text, std::vector<unsigned char>& out) {
  out.clear();
  out.reserve(text.size() / 4 * 3);
  std::uint32_t bits = 0;
  int count = 0;    // sextets in the current quantum
  int padding = 0;  // '=' seen; only whitespace and more '=' may follow
  for (char c : text) {
    if (IsSpace(c)) continue;
    if (c == '=') {
      if (count < 2 || count + padding >= 4) return false;
      ++padding;
      continue;
    }
    if (padding > 0) return false;
    int value = Base64Value(c);
    if (value < 0) return false;
    bits = (bits << 6) | static_cast<std::uint32_t>(value);
    if (++count == 4) {
      out.push_back(static_cast<unsigned char>(bits >> 16));
      out.push_back(static_cast<unsigned char>(bits >> 8));
      out.push_back(static_cast<unsigned char>(bits));
      bits = 0;
      count = 0;
    }
  }
  if (padding > 0 && count + padding != 4) return false;
  if (count == 1) return false;
  if (count == 2) {
    out.push_back(static_cast<unsigned char>(bits >> 4));
  } else if (count == 3) {
    out.push_back(static_cast<unsigned char>(bits >> 10));
    out.push_back(static_cast<unsigned char>(bits >> 2));
  }
  return true;
}

bool Decompress(Compression compression, const std::vector<unsigned char>& in, std::size_t limit,
                std::vector<unsigned char>& out, std::string& error) {
  switch (compression) {
    case Compression::kNone:
      out = in;
      return true;
    case Compression::kZlib:
    case Compression::kGzip:
      return Inflate(in, limit, out, error);
    case Compression::kZstd:
      return Unzstd(in, limit, out, error);
  }
  error = "unknown compression";
  return false;
}

bool ParseCsv(std::string_view text, std::size_t limit, std::vector<std::uint32_t>& out,
              std::string& error) {
  out.clear();
  text = Trim(text);
  if (text.empty()) return true;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) comma = text.size();
    std::string_view value = Trim(text.substr(start, comma - start));
    bool last = comma == text.size();
    if (value.empty() && last && !out.empty()) break;  // "1,2,"
    std::uint32_t gid = 0;
    if (!ParseUint32(value, gid)) {
      error = "CSV value '" + std::string(value.substr(0, 32)) + "' is not a tile id";
      return false;
    }
    if (out.size() == limit) {
      error = "data holds more than " + std::to_string(limit) + " cells";
      return false;
    }
    out.push_back(gid);
    start = comma + 1;
  }
  return true;
}

namespace {

// The scan below must end each piece of markup where the XML parser ends
// it, or it loses count of the elements after it.
// ASCII only, whatever the locale.
bool IsAsciiLetter(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }
bool IsAsciiDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// `word` in lower case.
bool StartsNoCase(std::string_view text, std::string_view word) {
  if (text.size() < word.size()) return false;
  for (std::size_t k = 0; k < word.size(); ++k) {
    const auto c = static_cast<unsigned char>(text[k]);
    if ((IsAsciiLetter(c) ? (c | 0x20) : c) != static_cast<unsigned char>(word[k])) return false;
  }
  return true;
}

// Length of "<?xml" + (space name = "value")* space? "?>" with version,
// encoding or standalone names and plain values; 0 for anything else.
std::size_t PlainDeclarationLength(std::string_view text) {
  std::size_t j = 5;
  for (;;) {
    const std::size_t before = j;
    while (j < text.size() && IsSpace(text[j])) ++j;
    if (text.substr(j).starts_with("?>")) return j + 2;
    if (j == before) return 0;
    std::size_t nameLength = 0;
    for (std::string_view name : {"version", "encoding", "standalone"})
      if (text.substr(j).starts_with(name)) nameLength = name.size();
    if (nameLength == 0) return 0;
    j += nameLength;
    while (j < text.size() && IsSpace(text[j])) ++j;
    if (j >= text.size() || text[j] != '=') return 0;
    ++j;
    while (j < text.size() && IsSpace(text[j])) ++j;
    if (j >= text.size() || (text[j] != '"' && text[j] != '\'')) return 0;
    const char quote = text[j++];
    while (j < text.size() && text[j] != quote) {
      const auto c = static_cast<unsigned char>(text[j]);
      if (!(IsAsciiLetter(c) || IsAsciiDigit(c) || c == '.' || c == '-' || c == '_' || c == ':' ||
            c == ' '))
        return 0;
      ++j;
    }
    if (j >= text.size()) return 0;
    ++j;
  }
}

}  // namespace

bool NestsDeeperThan(std::string_view text, int limit) {
  int depth = 0;
  std::size_t i = 0;
  auto skipPast = [&](std::string_view end) {
    std::size_t found = text.find(end, i);
    i = found == std::string_view::npos ? text.size() : found + end.size();
  };
  while ((i = text.find('<', i)) != std::string_view::npos) {
    std::string_view rest = text.substr(i);
    const unsigned char next = rest.size() > 1 ? static_cast<unsigned char>(rest[1]) : 0;
    if (rest.starts_with("<!--")) {
      skipPast("-->");
    } else if (rest.starts_with("<![CDATA[")) {
      skipPast("]]>");
    } else if (StartsNoCase(rest, "<?xml")) {
      // The parser reads quoted values of a declaration past any '>' and
      // anything else up to the first one; only a plain one is sure to
      // end where this scan ends it.
      const std::size_t length = PlainDeclarationLength(rest);
      if (length == 0) return true;
      i += length;
    } else if (rest.starts_with("</")) {
      if (depth > 0) --depth;
      skipPast(">");
    } else if (!(IsAsciiLetter(next) || next == '_' || next >= 127)) {
      // "<!", "<?" and '<' before anything that starts no name: the parser
      // keeps these as unknown nodes, which end at the first '>', quotes
      // or not.
      skipPast(">");
    } else {
      // An opening tag; '>' inside quoted attribute values does not end it.
      char quote = 0;
      std::size_t j = i + 1;
      for (; j < text.size(); ++j) {
        char c = text[j];
        if (quote) {
          if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
          quote = c;
        } else if (c == '>') {
          break;
        }
      }
      if (j >= text.size()) return false;  // unterminated: the parser rejects it
      if (text[j - 1] != '/' && ++depth > limit) return true;
      i = j + 1;
    }
  }
  return false;
}

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead < 0x80                    ? 1
                         : lead >= 0xC2 && lead <= 0xDF ? 2
                         : lead >= 0xE0 && lead <= 0xEF ? 3
                         : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                        : 0;
    if (length == 0 || text.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += length;
  }
  return true;
}

}  // namespace Tmx::Data
