#include "tools/route/RouteScript.h"

#include <sstream>

#include "app/NumberText.h"
#include "input/IController.h"
#include "level/Level.h"
#include "objects/MovableObject.h"
#include "player/PlayerState.h"
#include "traps/ExtendingTrap.h"
#include "traps/TrapDoor.h"

namespace {

bool ParseKeys(const std::string& word, std::uint8_t& keys) {
  keys = 0;
  if (word == "-") return true;
  for (char c : word) {
    switch (c) {
      case 'R':
        keys |= STEP_RIGHT;
        break;
      case 'L':
        keys |= STEP_LEFT;
        break;
      case 'J':
        keys |= STEP_JUMP;
        break;
      case 'S':
        keys |= STEP_SPRINT;
        break;
      case 'C':
        keys |= STEP_CROUCH;
        break;
      default:
        return false;
    }
  }
  return !word.empty();
}

bool ParseLength(std::string text, float& value) {
  bool tiles = !text.empty() && text.back() == 't';
  if (tiles) text.pop_back();
  double number = 0.0;
  if (!ParseWholeDouble(text, number)) return false;
  value = static_cast<float>(tiles ? number * 64.0 : number);
  return true;
}

bool ParseCondition(std::istringstream& words, const std::string& word,
                    RouteCommand::Condition& condition) {
  using C = RouteCommand::Condition;
  static const std::pair<const char*, C::Kind> kPlain[] = {
      {"ground", C::Ground}, {"air", C::Air},       {"wall", C::Wall}, {"dead", C::Dead},
      {"alive", C::Alive},   {"scroll", C::Scroll}, {"end", C::End}};
  for (auto [name, kind] : kPlain) {
    if (word == name) {
      condition.kind = kind;
      return true;
    }
  }
  static const std::pair<const char*, C::Kind> kCompare[] = {
      {"x>=", C::XAtLeast}, {"x<=", C::XAtMost}, {"y>=", C::YAtLeast}, {"y<=", C::YAtMost}};
  for (auto [prefix, kind] : kCompare) {
    if (word.rfind(prefix, 0) == 0) {
      condition.kind = kind;
      return ParseLength(word.substr(3), condition.value);
    }
  }
  if (word == "active" || word == "released") {
    condition.kind = word == "active" ? C::Active : C::Released;
    return static_cast<bool>(words >> condition.object);
  }
  if (word == "phase") {
    std::string rest;
    if (!(words >> rest)) return false;
    const std::size_t equals = rest.rfind('=');
    if (equals == std::string::npos) return false;
    condition.kind = C::Phase;
    condition.object = rest.substr(0, equals);
    return ParseLength(rest.substr(equals + 1), condition.value);
  }
  return false;
}

}  // namespace

bool ParseRoute(const std::string& text, std::vector<RouteCommand>& route, std::string& error) {
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    if (const std::size_t hash = line.find('#'); hash != std::string::npos) line.resize(hash);
    std::istringstream words(line);
    std::string keys;
    if (!(words >> keys)) continue;
    RouteCommand command;
    command.line = number;
    std::string word;
    auto fail = [&](const std::string& why) {
      error = "line " + std::to_string(number) + ": " + why;
      return false;
    };
    if (!ParseKeys(keys, command.keys)) return fail("keys are R, L, J, S, C or -, not " + keys);
    if (!(words >> word)) return fail("\"until\" or \"for\" is missing");
    if (word == "for") {
      if (!(words >> command.steps) || command.steps < 0) return fail("a number of steps");
    } else if (word == "until") {
      do {
        if (!(words >> word)) return fail("a condition is missing");
        RouteCommand::Condition condition;
        if (!ParseCondition(words, word, condition)) return fail("no condition: " + word);
        command.until.push_back(condition);
      } while (words >> word && word == "and");
    } else {
      return fail("\"until\" or \"for\", not " + word);
    }
    route.push_back(command);
  }
  return true;
}

bool RouteConditionsHold(const RouteCommand& command, const PlayerState& s, CLevel& level) {
  using C = RouteCommand::Condition;
  for (const C& c : command.until) {
    bool holds = false;
    switch (c.kind) {
      case C::XAtLeast:
        holds = s.position.x >= c.value;
        break;
      case C::XAtMost:
        holds = s.position.x <= c.value;
        break;
      case C::YAtLeast:
        holds = s.position.y >= c.value;
        break;
      case C::YAtMost:
        holds = s.position.y <= c.value;
        break;
      case C::Ground:
        holds = s.onGround;
        break;
      case C::Air:
        holds = !s.onGround;
        break;
      case C::Wall:
        holds = s.wallContact;
        break;
      case C::Dead:
        holds = s.dead;
        break;
      case C::Alive:
        holds = !s.dead && !s.respawning;
        break;
      case C::Scroll:
        holds = s.scrollPicked;
        break;
      case C::End:
        holds = s.endRequested || s.endSequence;
        break;
      case C::Phase: {
        const auto* trap = dynamic_cast<const CExtendingTrap*>(level.FindObject(c.object));
        holds = trap && trap->phase == static_cast<int>(c.value);
        break;
      }
      case C::Active: {
        const CMovableObject* object = level.FindObject(c.object);
        holds = object && object->active;
        break;
      }
      case C::Released: {
        const auto* door = dynamic_cast<const CTrapDoor*>(level.FindObject(c.object));
        holds = door && door->released;
        break;
      }
    }
    if (!holds) return false;
  }
  return true;
}
