#pragma once

#include <array>
#include <string_view>

// Every image and value file the game reads by a fixed name, with what the
// code asks of it. The asset tools read this list too (tools/assets), and the
// tests check every entry against the files in data/.
struct ImageAsset {
  std::string_view path;
  int frameWidth;   // 0: the whole image is one frame
  int frameHeight;
  int minFrames;    // frames the animation's events need
};

struct HitBoxAsset {
  std::string_view path;
  std::string_view image;  // the picture the boxes belong to
  std::array<std::string_view, 4> userdata;  // box sets the code looks up; "" unused
};

// clang-format off
inline constexpr ImageAsset kImageAssets[] = {
  // world: backgrounds and tilesets
  {"Graphics/Background/bg_layer00.png", 0, 0, 1},
  {"Graphics/Background/bg_layer01.png", 0, 0, 1},
  {"Graphics/Background/bg_layer02.png", 0, 0, 1},
  {"Graphics/Background/bg_layer03.png", 0, 0, 1},
  {"Graphics/Tiles/ink_ground.png", 64, 64, 40},
  {"Graphics/Tiles/ink_props.png", 64, 64, 32},
  // world: traps (single frames)
  {"Graphics/Traps/trp_arrow.png", 0, 0, 1},
  {"Graphics/Traps/trp_bamboo.png", 0, 0, 1},
  {"Graphics/Traps/trp_bamboo_l.png", 0, 0, 1},
  {"Graphics/Traps/trp_bamboo_m.png", 0, 0, 1},
  {"Graphics/Traps/trp_bamboo_r.png", 0, 0, 1},
  {"Graphics/Traps/trp_bamboo_corner_in.png", 0, 0, 1},
  {"Graphics/Traps/trp_bamboo_corner_out.png", 0, 0, 1},
  {"Graphics/Traps/trp_shuriken_black.png", 0, 0, 1},
  {"Graphics/Traps/trp_shuriken_grey.png", 0, 0, 1},
  {"Graphics/Traps/trp_shuriken_white.png", 0, 0, 1},
  {"Graphics/Traps/trp_spear_head.png", 0, 0, 1},
  {"Graphics/Traps/trp_stomper_l.png", 0, 0, 1},
  {"Graphics/Traps/trp_stomper_m.png", 0, 0, 1},
  {"Graphics/Traps/trp_stomper_r.png", 0, 0, 1},
  {"Graphics/Traps/trp_trapdoor_grass.png", 0, 0, 1},
  {"Graphics/Traps/trp_trapdoor_stone.png", 0, 0, 1},
  {"Graphics/Traps/trp_trapdoor_wood.png", 0, 0, 1},
  {"Graphics/Traps/trp_trapdoor_woodstone.png", 0, 0, 1},
  // world: checkpoints, scroll, fireworks
  {"Graphics/Misc/misc_cp_inactive.png", 109, 129, 1},
  {"Graphics/Misc/misc_cp_activation.png", 109, 129, 2},
  {"Graphics/Misc/misc_cp_active.png", 109, 129, 1},
  {"Graphics/Misc/misc_scroll.png", 64, 64, 1},
  {"Graphics/Particles/pfx_rocket.png", 57, 149, 1},
  {"Graphics/Particles/pfx_firework_blue.png", 605, 619, 2},
  {"Graphics/Particles/pfx_firework_green.png", 605, 619, 2},
  {"Graphics/Particles/pfx_firework_pink.png", 605, 619, 2},
  {"Graphics/Particles/pfx_firework_yellow.png", 605, 619, 2},
};

inline constexpr HitBoxAsset kHitBoxAssets[] = {
  {"Values/Misc Collisions/Checkpoint.hitbox.xml", "Graphics/Misc/misc_cp_inactive.png", {}},
  {"Values/Misc Collisions/Scroll.hitbox.xml", "Graphics/Misc/misc_scroll.png", {}},
  {"Values/Trap Collisions/Arrow.hitbox.xml", "Graphics/Traps/trp_arrow.png", {}},
  {"Values/Trap Collisions/BambooLarge.hitbox.xml", "Graphics/Traps/trp_bamboo.png", {}},
  {"Values/Trap Collisions/BambooLarge.hitbox.xml", "Graphics/Traps/trp_bamboo_corner_in.png", {}},
  {"Values/Trap Collisions/BambooLarge.hitbox.xml", "Graphics/Traps/trp_bamboo_corner_out.png", {}},
  {"Values/Trap Collisions/BambooSmall.hitbox.xml", "Graphics/Traps/trp_bamboo_m.png", {}},
  {"Values/Trap Collisions/Orbital.hitbox.xml", "Graphics/Traps/trp_shuriken_black.png", {}},
  {"Values/Trap Collisions/Spear.hitbox.xml", "Graphics/Traps/trp_spear_head.png", {"Collision", "Damage"}},
  {"Values/Trap Collisions/Stomper.hitbox.xml", "Graphics/Traps/trp_stomper_m.png", {"Body", "HeadFront", "HeadBack"}},
  {"Values/Trap Collisions/Door.hitbox.xml", "Graphics/Traps/trp_trapdoor_grass.png", {}},
  {"Values/Tile Collisions/ink_ground/28.hitbox.xml", "Graphics/Tiles/ink_ground.png", {}},
  {"Values/Tile Collisions/ink_ground/29.hitbox.xml", "Graphics/Tiles/ink_ground.png", {}},
  {"Values/Tile Collisions/ink_ground/30.hitbox.xml", "Graphics/Tiles/ink_ground.png", {}},
  {"Values/Tile Collisions/ink_ground/31.hitbox.xml", "Graphics/Tiles/ink_ground.png", {}},
};
// clang-format on
