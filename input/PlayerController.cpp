#include "input/PlayerController.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cstring>

#include "app/Log.h"
#include "input/InputManager.h"

namespace {

constexpr int kKeyA = 0x41;
constexpr int kKeyD = 0x44;
constexpr int kKeyS = 0x53;
constexpr int kKeyW = 0x57;

constexpr std::int32_t kStickDirection = 500;
// Crouching needs the stick pushed well down, so a diagonal while running
// does not slide by accident.
constexpr std::int32_t kStickCrouch = 900;

bool HatIs(std::uint32_t hat, std::uint32_t a, std::uint32_t b, std::uint32_t c) {
  return hat == a || hat == b || hat == c;
}

void WarnSave(const std::string& what, const std::string& path) {
  LogWarning("Could not save replay " + path + ": " + what + " (" + std::strerror(errno) + ")");
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// The rename itself lives in the directory; without this a power loss could
// still bring back the old file.
void SyncDirectoryOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  std::string directory = slash == std::string::npos ? "."
                          : slash == 0               ? "/"
                                                     : path.substr(0, slash);
  int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0 || ::fsync(fd) != 0) WarnSave("directory not flushed", path);
  if (fd >= 0) ::close(fd);
}

}  // namespace

CPlayerController::CPlayerController() { record.reserve(kReservedSteps); }

void CPlayerController::ReadInput() {
  const CInputManager* input = CInputManager::GetInstance();
  if (input) {
    ReadFrom(*input, input->HasJoystick());
  } else {
    direction = 0;
    jump = sprint = crouch = false;
    record.push_back(ToStepByte());
  }
}

void CPlayerController::ReadFrom(const CInputManager& input, bool joystickAttached) {
  auto down = [&input](int vk) { return input.keys[vk] != 0; };
  const JoyState& joy = input.joyCurrent;
  auto button = [&joy](int b) { return joy.rgbButtons[b] != 0; };
  const std::uint32_t hat = joystickAttached ? joy.rgdwPOV[0] : JoyState::kCentred;

  // Left is tested first so that holding both never cancels out.
  if (down(VK_LEFT) || down(kKeyA) || joy.lX < -kStickDirection ||
      HatIs(hat, 22500, 27000, 31500)) {
    direction = -1;
  } else if (down(VK_RIGHT) || down(kKeyD) || joy.lX > kStickDirection ||
             HatIs(hat, 4500, 9000, 13500)) {
    direction = 1;
  } else {
    direction = 0;
  }
  sprint = down(VK_SHIFT) || button(2);
  jump = down(VK_SPACE) || down(kKeyW) || down(VK_UP) || button(0);
  crouch = down(VK_CONTROL) || down(kKeyS) || down(VK_DOWN) || joy.lY > kStickCrouch ||
           HatIs(hat, 13500, 18000, 22500) || button(1);

  record.push_back(ToStepByte());
}

void CPlayerController::Clear() {
  record.clear();
  invalid = false;
}

bool CPlayerController::Save(const std::string& path) const {
  if (invalid) return false;

  const std::string temporary = path + ".tmp";
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    WarnSave("cannot create " + temporary, path);
    return false;
  }
  bool written = WriteAll(fd, record.data(), record.size());
  if (!written) WarnSave("write failed", path);
  if (written && ::fsync(fd) != 0) {
    WarnSave("flush failed", path);
    written = false;
  }
  if (::close(fd) != 0 && written) {
    WarnSave("close failed", path);
    written = false;
  }
  if (!written) {
    ::unlink(temporary.c_str());
    return false;
  }

  if (afterTemporaryWritten) afterTemporaryWritten(temporary);

  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    WarnSave("cannot replace the old file", path);
    ::unlink(temporary.c_str());
    return false;
  }
  SyncDirectoryOf(path);
  return true;
}
