#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Text and byte helpers for reading TMX files: numbers in the C locale,
// layer data in its encodings, and a nesting check before XML parsing.
namespace Tmx::Data {

// Whole-string numbers; false for anything else (also empty, overflow,
// and non-finite floats).
bool ParseInt(std::string_view text, int& out);
bool ParseUint32(std::string_view text, std::uint32_t& out);
bool ParseFloat(std::string_view text, float& out);

// Skips whitespace; false on any other character outside the alphabet or
// misplaced padding.
bool DecodeBase64(std::string_view text, std::vector<unsigned char>& out);

enum class Compression { kNone, kZlib, kGzip, kZstd };

// Decompresses into `out`, never producing more than `limit` bytes; a stream
// that would is refused. `error` says why on failure.
bool Decompress(Compression compression, const std::vector<unsigned char>& in, std::size_t limit,
                std::vector<unsigned char>& out, std::string& error);

// Comma-separated tile ids; stops with an error at the first value past
// `limit`. A trailing comma is allowed.
bool ParseCsv(std::string_view text, std::size_t limit, std::vector<std::uint32_t>& out,
              std::string& error);

// True when elements in `text` nest deeper than `limit`, so deep that the
// XML parser's recursion could overflow the stack. Also true for an XML
// declaration with anything but plain version, encoding and standalone
// values: the parser reads those in a way this scan cannot follow.
bool NestsDeeperThan(std::string_view text, int limit);

// Whether every multi-byte sequence is complete. The XML parser skips a
// sequence's whole length on its lead byte, so a truncated one would make it
// read past the end of the text.
bool IsValidUtf8(std::string_view text);

}  // namespace Tmx::Data
