#include "tests/support/PngBytes.h"

#include <zlib.h>

#include <fstream>

namespace PngBytes {

std::string U16(unsigned value) {
  return {static_cast<char>(value >> 8 & 0xff), static_cast<char>(value & 0xff)};
}

std::string U32(std::uint32_t value) { return U16(value >> 16) + U16(value & 0xffff); }

std::string Signature() { return std::string("\x89PNG\r\n\x1a\n", 8); }

std::string Chunk(const std::string& type, const std::string& data) {
  const std::string body = type + data;
  const uLong crc =
      crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
  return U32(static_cast<std::uint32_t>(data.size())) + body + U32(static_cast<std::uint32_t>(crc));
}

std::string Header(std::uint32_t width, std::uint32_t height, int bitDepth, int colourType,
                   int interlace) {
  return Chunk("IHDR", U32(width) + U32(height) + static_cast<char>(bitDepth) +
                           static_cast<char>(colourType) + '\0' + '\0' +
                           static_cast<char>(interlace));
}

std::string ImageData(const std::string& scanlines) {
  uLongf size = compressBound(static_cast<uLong>(scanlines.size()));
  std::string packed(size, '\0');
  compress(reinterpret_cast<Bytef*>(packed.data()), &size,
           reinterpret_cast<const Bytef*>(scanlines.data()), static_cast<uLong>(scanlines.size()));
  packed.resize(size);
  return Chunk("IDAT", packed);
}

std::string End() { return Chunk("IEND", ""); }

std::string Rgba8(std::uint32_t width, std::uint32_t height, const std::string& pixels) {
  std::string scanlines;
  for (std::uint32_t y = 0; y < height; ++y)
    scanlines += '\0' + pixels.substr(static_cast<std::size_t>(y) * width * 4, width * 4);
  return Signature() + Header(width, height, 8, 6) + ImageData(scanlines) + End();
}

std::string HugeChunkInTruncatedFile(const std::string& type) {
  return Signature() + Header(1, 1, 8, 6) + U32(0x7fffff00) + type + std::string(16, '\0');
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << bytes;
  return static_cast<bool>(file.flush());
}

}  // namespace PngBytes
