#include "player/PlayerAnimations.h"

#include <tinyxml.h>

#include <cmath>

#include "app/Log.h"
#include "app/NumberText.h"
#include "app/XmlFile.h"
#include "graphics/Direct3D.h"
#include "graphics/TextureManager.h"

namespace {

using A = PlayerAnimation;

constexpr CPlayerAnimations::Sheet kSheets[kPlayerAnimationCount] = {
    {"Walk", "Graphics/Character/ani_run.png", 128, 128, 4, 7, 0.03f},
    {"Run", "Graphics/Character/ani_sprint.png", 128, 128, 1, 7, 0.03f},
    {"RunToStand", "Graphics/Character/ani_sprint_to_stand.png", 128, 128, 0, 7, 0.03f},
    {"Stand", "Graphics/Character/ani_stand.png", 128, 128, 4, 7, 0.03f},
    {"StandToWalk", "Graphics/Character/ani_stand_to_run.png", 128, 128, 0, 7, 0.05f},
    {"Jump", "Graphics/Character/ani_jump.png", 128, 128, 0, 7, 0.015f},
    {"JumpFall", "Graphics/Character/ani_jump_fall.png", 128, 128, 0, 7, 0.03f},
    {"FallLoop", "Graphics/Character/ani_fall_loop.png", 128, 128, 1, 7, 0.03f},
    {"WallJump", "Graphics/Character/ani_wall_jump.png", 128, 128, 3, 7, 0.015f},
    {"WallSlide", "Graphics/Character/ani_wall_slide.png", 128, 128, 4, 7, 0.1f},
    {"WallSlideUp", "Graphics/Character/ani_wall_slide_up.png", 128, 128, 4, 7, 0.03f},
    {"WallSlideDown", "Graphics/Character/ani_wall_slide_down.png", 128, 128, 4, 7, 0.03f},
    {"Death", "Graphics/Character/ani_death.png", 532, 532, 0, 4, 0.03f},
    {"Respawn", "Graphics/Character/ani_respawn.png", 532, 532, 0, 4, 0.03f},
    {"Crouch", "Graphics/Character/ani_crouch.png", 128, 128, 0, 7, 0.03f},
    {"StandToCrouch", "Graphics/Character/ani_stand_to_crouch.png", 128, 128, 0, 7, 0.03f},
    {"End02", "Graphics/Character/ani_end_02.png", 128, 128, 0, 7, 0.028f},
    {"End03", "Graphics/Character/ani_end_03.png", 128, 128, 0, 7, 0.028f},
    {"End04", "Graphics/Character/ani_end_04.png", 128, 128, 3, 7, 0.025f},
    {"End05", "Graphics/Character/ani_end_05.png", 128, 128, 0, 7, 0.03f},
};

// The animations whose frame times the file may set, in the file's order.
constexpr A kConfigurable[] = {A::Stand,      A::StandToWalk, A::Walk,        A::Run,
                               A::RunToStand, A::Jump,        A::JumpFall,    A::FallLoop,
                               A::WallJump,   A::WallSlide,   A::WallSlideUp, A::WallSlideDown,
                               A::Death,      A::Respawn,     A::Crouch,      A::StandToCrouch};

}  // namespace

const CPlayerAnimations::Sheet& CPlayerAnimations::SheetOf(PlayerAnimation animation) {
  return kSheets[Index(animation)];
}

bool CPlayerAnimations::Setup() {
  CTextureManager* textures = CTextureManager::GetInstance();
  bool complete = true;
  for (int i = 0; i < kPlayerAnimationCount; ++i) {
    const Sheet& sheet = kSheets[i];
    CSprite& sprite = sprites[i];
    sprite.Init(CDirect3D::GetInstance());
    sprite.SetName(sheet.name);
    TextureHandle texture = textures ? textures->GetTexture(sheet.image) : nullptr;
    if (!sprite.SetTexture(sheet.mode, sheet.anchor, sheet.frameWidth, sheet.frameHeight,
                           sheet.frameTime, texture)) {
      LogError(std::string("The hero's animation \"") + sheet.name + "\" has no sheet " +
               sheet.image);
      complete = false;
      continue;
    }
    sprite.SetFrameTime(sheet.frameTime);
    // Played once along a row, it ends on the first row's last frame, which
    // is not the sheet's last: it would never count as finished.
    if (sheet.mode == 0 && sprite.GetRows() > 1) {
      LogError(std::string("The hero's animation \"") + sheet.name + "\" in " + sheet.image +
               " must be one row of frames, not " + std::to_string(sprite.GetRows()));
      complete = false;
    }
  }
  return complete;
}

bool CPlayerAnimations::LoadTimes(const std::string& path) {
  TiXmlDocument document;
  std::string error;
  if (!LoadXmlFile(path, document, &error)) {
    LogWarning("Could not read the hero's animation times " + path + ": " + error);
    return false;
  }
  const TiXmlElement* root = document.RootElement();
  for (A animation : kConfigurable) {
    const char* name = SheetOf(animation).name;
    const TiXmlElement* element = root->FirstChildElement(name);
    if (!element) continue;
    CSprite& sprite = Get(animation);
    const char* text = element->Attribute("Speed");
    if (text) {
      double seconds = 0.0;
      // A time of 0 or "nan" would stop the animation for ever.
      if (ParseWholeDouble(text, seconds) && seconds > 0.0 &&
          std::isfinite(static_cast<float>(seconds)) && static_cast<float>(seconds) > 0.0f)
        sprite.SetFrameTime(static_cast<float>(seconds));
      else
        LogWarning(path + ": " + name + " Speed=\"" + text +
                   "\" is not a positive number of seconds; the time stays as it was");
    }
    sprite.ResetElapsed();
  }
  return true;
}

bool CPlayerAnimations::IsFinished(PlayerAnimation animation) const {
  return current == animation && Get(animation).IsAtLastFrame();
}

bool CPlayerAnimations::AtFrameStart(PlayerAnimation animation, int column, int row) const {
  if (current != animation) return false;
  const CSprite& sprite = Get(animation);
  return sprite.GetElapsed() == 0.0f && sprite.GetColumn() == column &&
         (row < 0 || sprite.GetRow() == row);
}

void CPlayerAnimations::Request(PlayerAnimation animation) {
  request = animation;
  requested = true;
}

void CPlayerAnimations::ApplyRequest(bool facingLeft) {
  if (!requested) return;
  requested = false;
  CSprite& sprite = Get(request);
  // The art faces left.
  if (request != A::WallJump) sprite.SetScale(facingLeft ? 1.0f : -1.0f, sprite.GetScaleY());
  if (request == current) return;
  current = request;
  sprite.SetFrame(0, 0);
  sprite.SetFinished(false);
}
