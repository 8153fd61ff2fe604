#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CLevel;
struct PlayerState;

// A way through a level written as steps of held keys, for making solution
// replays of levels we design. One command per line ("#" starts a comment):
//
//   KEYS until COND [and COND ...]     KEYS for N
//
// KEYS is any of R L J S C (right, left, jump, sprint, crouch) or "-" for
// none. COND is one of: x>=N x<=N y>=N y<=N (level pixels, or tiles with a
// "t" suffix: x>=52t), ground, air, wall, dead, alive, scroll, end, or
// "phase NAME=P" / "active NAME" / "released NAME" for the map object NAME.
struct RouteCommand {
  std::uint8_t keys = 0;
  int steps = -1;  // "for N"; -1 when conditions end the command
  struct Condition {
    enum Kind {
      XAtLeast,
      XAtMost,
      YAtLeast,
      YAtMost,
      Ground,
      Air,
      Wall,
      Dead,
      Alive,
      Scroll,
      End,
      Phase,
      Active,
      Released
    } kind;
    float value = 0.0f;
    std::string object;
  };
  std::vector<Condition> until;
  int line = 0;
};

// False, with the line and the reason in `error`, for text that is not a
// route.
bool ParseRoute(const std::string& text, std::vector<RouteCommand>& route, std::string& error);

// Whether every condition of the command holds now.
bool RouteConditionsHold(const RouteCommand& command, const PlayerState& state, CLevel& level);
