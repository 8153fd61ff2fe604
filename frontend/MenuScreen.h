#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "graphics/BitmapFont.h"
#include "graphics/Sprite.h"

class CMenuItem;
class CMenuNavigator;

// A menu page: a background picture and a vertical list of items, driven by
// keyboard, mouse and game controller alike. Owns its items.
class CMenuScreen {
public:
  CMenuScreen(std::string name, CMenuNavigator* navigator);
  virtual ~CMenuScreen();
  CMenuScreen(const CMenuScreen&) = delete;
  CMenuScreen& operator=(const CMenuScreen&) = delete;

  // Takes the item; null is ignored.
  void AddItem(CMenuItem* item);
  // The whole picture as one frame.
  void SetBackground(const std::string& file);
  // The screen's offset, which the background takes as its position too.
  void PlaceAt(float px, float py);

  // One step: pointer hover, up and down, back, choosing; then every item.
  virtual void Update(float seconds);
  // Into the sprite batch the caller has begun.
  virtual void Draw();
  // The navigator shows this screen (again): a screen whose items show the
  // state of the device refreshes them here.
  virtual void Enter();

  std::size_t ItemCount() const { return items.size(); }
  CMenuItem* Item(std::size_t index) const { return items[index].get(); }

  std::string name;  // what actions call the screen by
  CMenuNavigator* navigator = nullptr;
  float x = 0.0f;
  float y = 0.0f;
  CSprite background;
  CBitmapFont font;
  std::size_t selected = 0;

  // The switch and select sounds.
  static void PlaySwitch();
  static void PlaySelect();

protected:
  // Deletes every item; `selected` keeps its value.
  void ClearItems();

private:
  std::vector<std::unique_ptr<CMenuItem>> items;
};
