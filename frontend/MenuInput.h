#pragma once

class CInputManager;

// What moves through the menus, newly pressed in this step: the keys, the
// pad's hat (newly at one of three angles) and its stick (crossing 500 in
// either direction). Hat and stick count only with a pad present.
bool MenuDownPressed(const CInputManager& input);
bool MenuUpPressed(const CInputManager& input);
// Next and previous along a row (chapters, pages, choices).
bool MenuRightPressed(const CInputManager& input);
bool MenuLeftPressed(const CInputManager& input);
