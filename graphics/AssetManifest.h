#pragma once

#include <array>
#include <string_view>

// Every image and value file the game reads by a fixed name, with what the
// code asks of it. The asset tools read this list too (tools/assets), and the
// tests check every entry against the files in data/.
struct ImageAsset {
  std::string_view path;
  int frameWidth;  // 0: the whole image is one frame
  int frameHeight;
  int minFrames;      // frames the animation's events need
  int playMode = -1;  // the sprite mode the code plays it in; -1 not listed
  int anchor = -1;    // the sprite anchor the code places it by; -1 not listed
};

// A frame at which the code acts on an animation (a sound, a jump, dust):
// the sheet must have that column and row.
struct AnimationEvent {
  std::string_view path;
  int column;
  int row;
  std::string_view what;
};

struct HitBoxAsset {
  std::string_view path;
  std::string_view image;                    // the picture the boxes belong to
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
  // the hero: play mode and anchor as the player sets each animation up
  {"Graphics/Character/ani_run.png", 128, 128, 9, 4, 7},
  {"Graphics/Character/ani_sprint.png", 128, 128, 10, 1, 7},
  {"Graphics/Character/ani_sprint_to_stand.png", 128, 128, 10, 0, 7},
  {"Graphics/Character/ani_stand.png", 128, 128, 1, 4, 7},
  {"Graphics/Character/ani_stand_to_run.png", 128, 128, 2, 0, 7},
  {"Graphics/Character/ani_jump.png", 128, 128, 3, 0, 7},
  {"Graphics/Character/ani_jump_fall.png", 128, 128, 2, 0, 7},
  {"Graphics/Character/ani_fall_loop.png", 128, 128, 1, 1, 7},
  {"Graphics/Character/ani_wall_jump.png", 128, 128, 2, 3, 7},
  {"Graphics/Character/ani_wall_slide.png", 128, 128, 1, 4, 7},
  {"Graphics/Character/ani_wall_slide_up.png", 128, 128, 2, 4, 7},
  {"Graphics/Character/ani_wall_slide_down.png", 128, 128, 2, 4, 7},
  {"Graphics/Character/ani_death.png", 532, 532, 1, 0, 4},
  {"Graphics/Character/ani_respawn.png", 532, 532, 1, 0, 4},
  {"Graphics/Character/ani_crouch.png", 128, 128, 1, 0, 7},
  {"Graphics/Character/ani_stand_to_crouch.png", 128, 128, 1, 0, 7},
  {"Graphics/Character/ani_end_02.png", 128, 128, 9, 0, 7},
  {"Graphics/Character/ani_end_03.png", 128, 128, 17, 0, 7},
  {"Graphics/Character/ani_end_04.png", 128, 128, 5, 3, 7},
  {"Graphics/Character/ani_end_05.png", 128, 128, 1, 0, 7},
  // the hero's effects
  {"Graphics/Particles/pfx_slide_start.png", 36, 75, 2, 0, 0},
  {"Graphics/Particles/pfx_slide_loop.png", 36, 75, 2, 1, 0},
  {"Graphics/Particles/pfx_wall_jump.png", 214, 214, 2, 0, 0},
  {"Graphics/Particles/pfx_collect.png", 333, 333, 2, 0, 0},
  {"Graphics/Pixel.png", 0, 0, 1},
  // interface: font, cursor, HUD, menus, title picture, logos, loading
  {"Graphics/Misc/ui_font.png", 0, 0, 1},
  {"Graphics/Misc/ui_shuriken.png", 0, 0, 1},
  {"Graphics/Misc/ui_ingame_bg.png", 0, 0, 1},
  {"Graphics/Misc/ui_ingame_scroll.png", 0, 0, 1},
  {"Graphics/Misc/ui_mainmenu_bg1.png", 0, 0, 1},
  {"Graphics/Misc/ui_mainmenu_bg_sun.png", 0, 0, 1},
  {"Graphics/Misc/ui_mainmenu_bg2.png", 0, 0, 1},
  {"Graphics/Misc/ui_menu_bg.png", 0, 0, 1},
  {"Graphics/Misc/ui_menu_bg_finisher.png", 0, 0, 1},
  {"Graphics/Misc/misc_overlay.png", 0, 0, 1},
  {"Graphics/Misc/misc_loading_screen.png", 0, 0, 1},
  {"Graphics/Misc/ui_scroll.png", 0, 0, 1},
  {"Graphics/Misc/ui_scroll_grey.png", 0, 0, 1},
  {"Graphics/Misc/misc_scroll_grey.png", 0, 0, 1},
  {"Graphics/Misc/ui_orvel_logo.png", 0, 0, 1},
  {"Graphics/Misc/ui_pellam_logo.png", 0, 0, 1},
  {"Graphics/Misc/icon.png", 0, 0, 1},
  // interface: credits portraits, persons 1 to 6 in page order
  {"Graphics/Misc/ui_portrait_1.png", 0, 0, 1},
  {"Graphics/Misc/ui_portrait_2.png", 0, 0, 1},
  {"Graphics/Misc/ui_portrait_3.png", 0, 0, 1},
  {"Graphics/Misc/ui_portrait_4.png", 0, 0, 1},
  {"Graphics/Misc/ui_portrait_5.png", 0, 0, 1},
  {"Graphics/Misc/ui_portrait_6.png", 0, 0, 1},
  // interface: control hints for picture objects ("path" Pictures/...)
  {"Graphics/Pictures/tut_run.png", 0, 0, 1},
  {"Graphics/Pictures/tut_sprint.png", 0, 0, 1},
  {"Graphics/Pictures/tut_jump.png", 0, 0, 1},
  {"Graphics/Pictures/tut_wall_jump.png", 0, 0, 1},
  {"Graphics/Pictures/tut_slide.png", 0, 0, 1},
  {"Graphics/Pictures/tut_crouch.png", 0, 0, 1},
};

inline constexpr AnimationEvent kAnimationEvents[] = {
  {"Graphics/Character/ani_run.png", 2, 0, "footstep sfx_walk01"},
  {"Graphics/Character/ani_run.png", 2, 2, "footstep sfx_walk02"},
  {"Graphics/Character/ani_sprint.png", 2, 0, "footstep sfx_run01"},
  {"Graphics/Character/ani_sprint.png", 9, 0, "footstep sfx_run01"},
  {"Graphics/Character/ani_sprint_to_stand.png", 0, 0, "sfx_slide"},
  {"Graphics/Character/ani_sprint_to_stand.png", 9, 0, "skid dust up to here"},
  {"Graphics/Character/ani_jump.png", 2, 0, "sfx_jump"},
  {"Graphics/Character/ani_wall_jump.png", 1, 0, "sfx_wall_jump"},
  {"Graphics/Character/ani_crouch.png", 0, 0, "sfx_slide"},
  {"Graphics/Character/ani_stand_to_crouch.png", 0, 0, "sfx_crouch"},
  {"Graphics/Character/ani_death.png", 0, 0, "sfx_die"},
  {"Graphics/Character/ani_respawn.png", 0, 0, "sfx_respawn"},
  {"Graphics/Character/ani_end_02.png", 8, 0, "finish run: hop"},
  {"Graphics/Character/ani_end_03.png", 2, 0, "finish run: second kick"},
  {"Graphics/Character/ani_end_03.png", 16, 0, "finish run: hop, frames slow down"},
  {"Graphics/Character/ani_end_04.png", 3, 0, "finish run: leap"},
  {"Graphics/Character/ani_end_04.png", 4, 0, "finish run: dust and braking from here on"},
};

inline constexpr HitBoxAsset kHitBoxAssets[] = {
  {"Values/Misc Collisions/Checkpoint.hitbox.xml", "Graphics/Misc/misc_cp_inactive.png", {}},
  {"Values/Misc Collisions/Scroll.hitbox.xml", "Graphics/Misc/misc_scroll.png", {}},
  {"Values/Trap Collisions/Arrow.hitbox.xml", "Graphics/Traps/trp_arrow.png", {}},
  {"Values/Trap Collisions/BambooLarge.hitbox.xml", "Graphics/Traps/trp_bamboo.png", {}},
  {"Values/Trap Collisions/BambooCornerIn.hitbox.xml", "Graphics/Traps/trp_bamboo_corner_in.png", {}},
  {"Values/Trap Collisions/BambooCornerOut.hitbox.xml", "Graphics/Traps/trp_bamboo_corner_out.png", {}},
  {"Values/Trap Collisions/BambooSmall.hitbox.xml", "Graphics/Traps/trp_bamboo_m.png", {}},
  {"Values/Trap Collisions/Orbital.hitbox.xml", "Graphics/Traps/trp_shuriken_black.png", {}},
  {"Values/Trap Collisions/Spear.hitbox.xml", "Graphics/Traps/trp_spear_head.png", {"Collision", "Damage"}},
  {"Values/Trap Collisions/Stomper.hitbox.xml", "Graphics/Traps/trp_stomper_m.png", {"Body", "HeadFront", "HeadBack"}},
  {"Values/Trap Collisions/Door.hitbox.xml", "Graphics/Traps/trp_trapdoor_grass.png", {}},
  {"Values/Tile Collisions/ink_ground/28.hitbox.xml", "Graphics/Tiles/ink_ground.png", {}},
  {"Values/Tile Collisions/ink_ground/29.hitbox.xml", "Graphics/Tiles/ink_ground.png", {}},
  {"Values/Tile Collisions/ink_ground/30.hitbox.xml", "Graphics/Tiles/ink_ground.png", {}},
  {"Values/Tile Collisions/ink_ground/31.hitbox.xml", "Graphics/Tiles/ink_ground.png", {}},
  {"Values/Player Collisions/Default.hitbox.xml", "Graphics/Character/ani_stand.png",
   {"Top", "Left", "Right", "Bottom"}},
  {"Values/Player Collisions/Crouch.hitbox.xml", "Graphics/Character/ani_crouch.png",
   {"Top", "Left", "Right", "Bottom"}},
};
// clang-format on
