#include "traps/BambooTrap.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "app/Log.h"
#include "graphics/Sprite.h"
#include "objects/HitBoxFile.h"
#include "platform/Matrix2D.h"
#include "traps/TrapSettings.h"

namespace {

// The frame a piece without picture is placed in: one tile.
constexpr float kTile = 64.0f;

}  // namespace

CBambooTrap::CBambooTrap() {
  LoadHitBox("", -1, "Values/Trap Collisions/BambooLarge", hitBox);
  largeBox = hitBox;
  LoadHitBox("", -1, "Values/Trap Collisions/BambooSmall", hitBox);
  smallBox = hitBox;
  box = smallBox;
}

void CBambooTrap::Init() {
  auto word = [this](const char* key, const char* fallback) {
    const auto found = properties.find(key);
    return found == properties.end() ? std::string(fallback) : found->second;
  };
  const std::string dir = word("dir", "up");
  const std::string corner = word("cdir", "tl");
  const std::string look = word("type", "large");

  const char* image = nullptr;
  const char* cornerBoxes = nullptr;
  box = smallBox;
  if (look == "large") {
    box = largeBox;
    image = "Graphics/Traps/trp_bamboo.png";
  } else if (look == "cin") {
    cornerBoxes = "Values/Trap Collisions/BambooCornerIn";
    image = "Graphics/Traps/trp_bamboo_corner_in.png";
  } else if (look == "cout") {
    cornerBoxes = "Values/Trap Collisions/BambooCornerOut";
    image = "Graphics/Traps/trp_bamboo_corner_out.png";
  } else if (look == "l" || look == "m" || look == "r") {
    image = look == "l"   ? "Graphics/Traps/trp_bamboo_l.png"
            : look == "m" ? "Graphics/Traps/trp_bamboo_m.png"
                          : "Graphics/Traps/trp_bamboo_r.png";
  } else {
    // Invisible but still deadly, so a typo shows in the log, not in play.
    LogWarning(DescribeObject(*this) + ": \"type\" \"" + look +
               "\" is no bamboo piece; it has no picture");
  }
  if (cornerBoxes) {
    // A corner's own box covers its picture; the large one is the fallback.
    box = largeBox;
    LoadHitBox("", -1, cornerBoxes, box);
  }
  if (image) CreateSprite(image, 0.0f);

  scaleX = scaleY = 1.0f;
  rotation = 0.0f;
  direction = kUp;
  if (look == "cin" || look == "cout") {
    if (corner == "tr") scaleX = -1.0f;
    if (corner == "bl" || corner == "br") {
      direction = kDown;
      scaleY = -1.0f;
      if (corner == "br") scaleX = -1.0f;
    }
  } else if (dir == "left") {
    direction = kLeft;
    rotation = 270.0f;
  } else if (dir == "right") {
    direction = kRight;
    rotation = 90.0f;
  } else if (dir != "up") {
    direction = kDown;
    scaleY = -1.0f;
  }
  if (CSprite* sprite = GetSprite()) {
    sprite->SetScale(scaleX, scaleY);
    sprite->SetRotation(rotation);
  }
  PlaceBox();
}

void CBambooTrap::PlaceBox() {
  // The picture's own transform (mirror and turn about the frame's centre)
  // applied to the box, so a piece whose frame is not square is deadly
  // exactly where it is drawn.
  const CSprite* sprite = GetSprite();
  const bool framed = sprite && sprite->GetFrameWidth() > 0 && sprite->GetFrameHeight() > 0;
  const Vector2 centre = framed ? Vector2{sprite->GetCentreX(), sprite->GetCentreY()}
                                : Vector2{kTile / 2.0f, kTile / 2.0f};
  const Matrix2D transform =
      Matrix2D::Transformation2D(centre, {scaleX, scaleY}, centre,
                                 static_cast<float>(rotation * std::numbers::pi / 180.0), {x, y});
  hitBox = BoundsThrough(box, transform);
}

bool CBambooTrap::Update(float seconds, bool) {
  PlaceBox();
  if (CSprite* sprite = GetSprite()) sprite->Advance(seconds);
  return true;
}
