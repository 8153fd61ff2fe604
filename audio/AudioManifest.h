#pragma once

#include <string_view>

// Every sound file the game plays by name, paths relative to data/. The
// audio tools (tools/assets/sfx.py, music.py) generate exactly these files,
// and the tests check each against what the game asks of it.
struct SoundAsset {
  std::string_view path;
  // Played as a looping source: must wrap around without a click.
  bool loops;
  // Started on an animation frame: its first 1/120 s must already carry the
  // hit, or it trails the picture.
  bool onFrame;
};

struct MusicAsset {
  std::string_view path;
  // Length of one loop after decoding, in sample frames at 44.1 kHz.
  long loopFrames;
};

// clang-format off
inline constexpr SoundAsset kSoundAssets[] = {
  // the player, on animation frames
  {"Audio/sfx/sfx_walk01.wav", false, true},
  {"Audio/sfx/sfx_walk02.wav", false, true},
  {"Audio/sfx/sfx_run01.wav", false, true},
  {"Audio/sfx/sfx_jump.wav", false, true},
  {"Audio/sfx/sfx_wall_jump.wav", false, true},
  {"Audio/sfx/sfx_slide.wav", false, true},
  {"Audio/sfx/sfx_crouch.wav", false, true},
  {"Audio/sfx/sfx_die.wav", false, true},
  {"Audio/sfx/sfx_respawn.wav", false, true},
  // the player, on contact
  {"Audio/sfx/sfx_hit_ground.wav", false, true},
  {"Audio/sfx/sfx_wall_slide.wav", true, false},
  {"Audio/sfx/sfx_checkpoint.wav", false, false},
  {"Audio/sfx/sfx_collect.wav", false, false},
  // traps
  {"Audio/sfx/sfx_arrow_shot.wav", false, false},
  {"Audio/sfx/sfx_shuriken.wav", true, false},
  {"Audio/sfx/sfx_spear_out.wav", false, false},
  {"Audio/sfx/sfx_spear_in.wav", false, false},
  {"Audio/sfx/sfx_Stomper_out.wav", false, false},
  {"Audio/sfx/sfx_Stomper_in.wav", false, false},
  {"Audio/sfx/sfx_trap_door.wav", false, false},
  // fireworks
  {"Audio/sfx/sfx_rocket_shot.wav", false, false},
  {"Audio/sfx/sfx_rocket_explosion.wav", false, false},
  // menus
  {"Audio/sfx/sfx_menu_switch.wav", false, false},
  {"Audio/sfx/sfx_menu_select.wav", false, false},
};

inline constexpr MusicAsset kMusicAssets[] = {
  // 20 bars of 4/4 at 70 beats a minute
  {"Audio/bgm/bgm_title.mp3", 3024000},
  // 44 bars of 4/4 at 140 beats a minute
  {"Audio/bgm/bgm_level.mp3", 3326400},
};
// clang-format on
