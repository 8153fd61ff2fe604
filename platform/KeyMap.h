#pragma once

// The Windows virtual-key code the game uses for a platform scancode, or 0
// for keys the game has no code for. Both Shift keys give 0x10, both Ctrl
// keys 0x11, both Alt keys 0x12.
int VirtualKeyFromScancode(int scancode);
