#pragma once

#include <cstdint>
#include <string>

// PNG files put together chunk by chunk, so a test states exactly which
// byte is wrong instead of shipping an opaque sample.
namespace PngBytes {

std::string Signature();
// A chunk with its real length and checksum.
std::string Chunk(const std::string& type, const std::string& data);
// IHDR; compression and filter method 0.
std::string Header(std::uint32_t width, std::uint32_t height, int bitDepth, int colourType,
                   int interlace = 0);
// Filtered scanlines (a filter byte before each row) compressed into one IDAT.
std::string ImageData(const std::string& scanlines);
std::string End();
// Big-endian, as every PNG number is.
std::string U16(unsigned value);
std::string U32(std::uint32_t value);

// A whole PNG of one RGBA pixel per entry of `pixels` (RGBA bytes, row by row).
std::string Rgba8(std::uint32_t width, std::uint32_t height, const std::string& pixels);

// The damaged file that made older loaders spin for minutes: a valid header,
// then an ancillary chunk of `type` declaring nearly 2 GiB and the file
// ending 16 bytes into it (57 bytes in all).
std::string HugeChunkInTruncatedFile(const std::string& type);

bool WriteFile(const std::string& path, const std::string& bytes);

}  // namespace PngBytes
