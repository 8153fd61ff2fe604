#include "graphics/CursorSprite.h"

#include "graphics/Sprite.h"

namespace {
CSprite cursor;
}

CSprite& cursorSprite = cursor;
