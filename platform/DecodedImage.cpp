#include "platform/DecodedImage.h"

#include <SDL.h>
#include <fcntl.h>
#include <spng.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Decompressed text and profile chunks are the only place a small file can
// ask for much memory outside the image itself; nothing we draw needs more.
constexpr std::size_t kMaxChunkBytes = std::size_t{16} << 20;
constexpr std::size_t kMaxChunkCacheBytes = std::size_t{64} << 20;

struct SpngContextFree {
  void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};
using SpngContext = std::unique_ptr<spng_ctx, SpngContextFree>;

bool Fail(std::string* error, const std::string& text) {
  if (error) *error = text;
  return false;
}

std::string MiB(std::size_t bytes) { return std::to_string(bytes >> 20) + " MiB"; }

// Reads the whole file, refusing what is not a regular file or is larger
// than the limit. Non-blocking so that a FIFO named in a map cannot stall
// the level loader; regular files ignore the flag.
bool ReadBoundedFile(const std::string& path, std::vector<std::uint8_t>& bytes,
                     std::string* error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Fail(error, std::string("cannot be opened: ") + std::strerror(errno));
  struct stat info;
  bool ok = true;
  if (::fstat(fd, &info) != 0) {
    ok = Fail(error, std::string("cannot be read: ") + std::strerror(errno));
  } else if (!S_ISREG(info.st_mode)) {
    ok = Fail(error, "not a regular file");
  } else if (static_cast<std::uint64_t>(info.st_size) > CDecodedImage::kMaxFileBytes) {
    ok = Fail(error, "larger than " + MiB(CDecodedImage::kMaxFileBytes));
  }
  if (ok) bytes.reserve(static_cast<std::size_t>(info.st_size));
  std::uint8_t buffer[65536];
  while (ok) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ok = Fail(error, std::string("cannot be read: ") + std::strerror(errno));
    } else if (n == 0) {
      break;
    } else if (bytes.size() + static_cast<std::size_t>(n) > CDecodedImage::kMaxFileBytes) {
      // It grew while we read it.
      ok = Fail(error, "larger than " + MiB(CDecodedImage::kMaxFileBytes));
    } else {
      bytes.insert(bytes.end(), buffer, buffer + n);
    }
  }
  ::close(fd);
  return ok;
}

bool SpngFailed(int result, std::string* error) {
  if (result == 0) return false;
  Fail(error, spng_strerror(result));
  return true;
}

// The encoder's output goes through stdio; every write is checked at the end.
bool EncodePng(const SDL_Surface& surface, std::FILE* file, std::string* error) {
  SpngContext context(spng_ctx_new(SPNG_CTX_ENCODER));
  if (!context) return Fail(error, "out of memory");
  spng_ihdr header{};
  header.width = static_cast<std::uint32_t>(surface.w);
  header.height = static_cast<std::uint32_t>(surface.h);
  header.bit_depth = 8;
  header.color_type = SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
  if (SpngFailed(spng_set_png_file(context.get(), file), error) ||
      SpngFailed(spng_set_ihdr(context.get(), &header), error) ||
      SpngFailed(spng_encode_image(context.get(), nullptr, 0, SPNG_FMT_PNG,
                                   SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE),
                 error))
    return false;
  // Row by row, so a level-sized picture needs no second full-size copy.
  std::vector<std::uint8_t> row(static_cast<std::size_t>(surface.w) * 4);
  int result = 0;
  for (int y = 0; y < surface.h && result == 0; ++y) {
    auto* pixels =
        reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(surface.pixels) +
                                               static_cast<std::size_t>(y) * surface.pitch);
    for (int x = 0; x < surface.w; ++x) {
      const std::uint32_t argb = pixels[x];
      row[x * 4 + 0] = static_cast<std::uint8_t>(argb >> 16);
      row[x * 4 + 1] = static_cast<std::uint8_t>(argb >> 8);
      row[x * 4 + 2] = static_cast<std::uint8_t>(argb);
      row[x * 4 + 3] = static_cast<std::uint8_t>(argb >> 24);
    }
    result = spng_encode_row(context.get(), row.data(), row.size());
  }
  // The last row answers "end of image" once the file is finished.
  if (result != SPNG_EOI) return Fail(error, spng_strerror(result == 0 ? SPNG_EINTERNAL : result));
  return true;
}

}  // namespace

std::unique_ptr<CDecodedImage> CDecodedImage::Load(const std::string& path, std::string* error) {
  std::vector<std::uint8_t> bytes;
  if (!ReadBoundedFile(path, bytes, error)) return nullptr;
  if (bytes.empty()) {
    Fail(error, "empty file");
    return nullptr;
  }

  SpngContext context(spng_ctx_new(0));
  if (!context) {
    Fail(error, "out of memory");
    return nullptr;
  }
  // libspng's default checksum handling stays: a damaged ancillary chunk is
  // dropped, a damaged critical chunk or zlib stream refuses the image.
  spng_ihdr header;
  std::size_t size = 0;
  if (SpngFailed(spng_set_image_limits(context.get(), kMaxSide, kMaxSide), error) ||
      SpngFailed(spng_set_chunk_limits(context.get(), kMaxChunkBytes, kMaxChunkCacheBytes),
                 error) ||
      SpngFailed(spng_set_png_buffer(context.get(), bytes.data(), bytes.size()), error) ||
      SpngFailed(spng_get_ihdr(context.get(), &header), error) ||
      SpngFailed(spng_decoded_image_size(context.get(), SPNG_FMT_RGBA8, &size), error))
    return nullptr;
  if (size > kMaxPixelBytes) {
    Fail(error, "more than " + MiB(kMaxPixelBytes) + " of pixels");
    return nullptr;
  }
  const int width = static_cast<int>(header.width);
  const int height = static_cast<int>(header.height);
  // Left uncleared, so that a file which declares a large picture but ends
  // early costs only the rows it really holds: untouched pages are never
  // mapped. The surface takes the block over (SDL frees it with SDL_free).
  void* pixels = SDL_malloc(size);
  SDL_Surface* surface = pixels
                             ? SDL_CreateRGBSurfaceWithFormatFrom(
                                   pixels, width, height, 32, width * 4, SDL_PIXELFORMAT_ARGB8888)
                             : nullptr;
  if (!surface) {
    SDL_free(pixels);
    Fail(error, "no memory for the pixels");
    return nullptr;
  }
  surface->flags &= ~SDL_PREALLOC;
  std::unique_ptr<CDecodedImage> image(new CDecodedImage(surface));
  // Decoded as RGBA bytes, then turned into ARGB words in place.
  if (SpngFailed(
          spng_decode_image(context.get(), surface->pixels, size, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS),
          error))
    return nullptr;
  auto* rgba = static_cast<std::uint8_t*>(surface->pixels);
  auto* argb = static_cast<std::uint32_t*>(surface->pixels);
  for (std::size_t i = 0; i < size / 4; ++i) {
    const std::uint8_t* p = rgba + i * 4;
    argb[i] = std::uint32_t{p[3]} << 24 | std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 |
              std::uint32_t{p[2]};
  }
  return image;
}

std::unique_ptr<CDecodedImage> CDecodedImage::Filled(int width, int height, unsigned argb) {
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!surface) return nullptr;
  SDL_FillRect(surface, nullptr, argb);
  return std::unique_ptr<CDecodedImage>(new CDecodedImage(surface));
}

CDecodedImage::~CDecodedImage() { SDL_FreeSurface(surface); }

int CDecodedImage::Width() const { return surface->w; }
int CDecodedImage::Height() const { return surface->h; }

unsigned CDecodedImage::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= surface->w || y >= surface->h) return 0;
  auto* row = static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch;
  return reinterpret_cast<const std::uint32_t*>(row)[x];
}

void CDecodedImage::SetPixel(int x, int y, unsigned argb) {
  if (x < 0 || y < 0 || x >= surface->w || y >= surface->h) return;
  auto* row = static_cast<std::uint8_t*>(surface->pixels) + y * surface->pitch;
  reinterpret_cast<std::uint32_t*>(row)[x] = argb;
}

void CDecodedImage::Fill(const Rect& area, unsigned argb) {
  SDL_Rect rect{area.left, area.top, area.Width(), area.Height()};
  SDL_FillRect(surface, &rect, argb);
}

bool CDecodedImage::SavePng(const std::string& path, std::string* error) const {
  // A temporary file renamed into place: a failed write leaves whatever was
  // at the path before.
  const std::string temporary = path + ".tmp";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) return Fail(error, "cannot create " + temporary + ": " + std::strerror(errno));
  bool ok = EncodePng(*surface, file, error);
  if (std::fflush(file) != 0 && ok)
    ok = Fail(error, "cannot write " + temporary + ": " + std::strerror(errno));
  if (std::fclose(file) != 0 && ok)
    ok = Fail(error, "cannot write " + temporary + ": " + std::strerror(errno));
  if (ok && std::rename(temporary.c_str(), path.c_str()) != 0)
    ok = Fail(error, "cannot replace " + path + ": " + std::strerror(errno));
  if (!ok) std::remove(temporary.c_str());
  return ok;
}
