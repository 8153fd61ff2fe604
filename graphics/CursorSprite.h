#pragma once

class CSprite;

// The mouse cursor, drawn by the menus in place of the system pointer. It
// exists from static initialisation on and outlives the entry.
extern CSprite& cursorSprite;
