#pragma once

#include <tinyxml.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/NumberText.h"
#include "app/XmlFile.h"
#include "objects/HitBox.h"
#include "objects/HitBoxFile.h"

// One fuzz input is the text of a ".hitbox.xml" file. It is read from
// memory always and, for the inputs whose bytes XOR to a multiple of 8,
// from a file as well: disk is slow, and one byte is enough for the fuzzer
// to reach either way.
namespace HitBoxFuzz {

// The game's reader. The replay test swaps in broken ones, to see that the
// checks below notice.
struct GameReader {
  using File = CHitBoxFile;
  static bool LoadOne(const std::string& userdata, int frame, const std::string& basePath,
                      CHitBox& box) {
    return LoadHitBox(userdata, frame, basePath, box);
  }
  static void LoadList(const std::string& basePath, std::vector<CHitBox>& boxes) {
    LoadHitBoxList(basePath, boxes);
  }
};

// Read before every input, so a reader that keeps boxes from its last
// file shows up.
inline constexpr std::string_view kPrimer =
    "<hitboxes><hitbox userdata=\"Body\" x=\"3\" y=\"0\" width=\"253\" height=\"64\"/>"
    "<hitbox frame=\"1\" x=\"-7\" y=\"9\" width=\"2\" height=\"18\"/></hitboxes>";

inline constexpr int kDeepestAccepted = 256;

inline void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "hit-box fuzz: %s\n", what);
  std::abort();
}

// Bit for bit: "equal" boxes from two reads must be the same numbers, and
// -0 against 0 would be a real difference in what was computed.
inline bool Same(const CHitBox& a, const CHitBox& b) {
  const float av[4] = {a.top, a.bottom, a.left, a.right};
  const float bv[4] = {b.top, b.bottom, b.left, b.right};
  return std::memcmp(av, bv, sizeof av) == 0;
}

inline bool Same(const std::vector<CHitBox>& a, const std::vector<CHitBox>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (!Same(a[i], b[i])) return false;
  return true;
}

// No caller can produce this from a file: every edge is NaN.
inline CHitBox Untouched() {
  const float nan = std::nanf("");
  return CHitBox(nan, nan, nan, nan);
}

inline bool IsUntouched(const CHitBox& box) { return Same(box, Untouched()); }

struct Query {
  std::string userdata;
  int frame;
};

// The sets and a frame the text names, read with the XML parser the reader
// uses, so that entities and odd quoting give the names the reader sees.
struct Layout {
  bool wellFormed = false;
  int depth = 0;  // of elements, the root being 1
  bool firstChildIsHitbox = false;
  bool hasHitboxChild = false;
  std::size_t children = 0;
  std::vector<Query> queries;
};

// Without recursion: a document that got past the nesting guard may be
// thousands of levels deep.
inline int ElementDepth(const TiXmlElement* root) {
  int deepest = 0;
  std::vector<std::pair<const TiXmlElement*, int>> pending{{root, 1}};
  while (!pending.empty()) {
    const auto [element, depth] = pending.back();
    pending.pop_back();
    deepest = std::max(deepest, depth);
    for (const TiXmlElement* child = element->FirstChildElement(); child;
         child = child->NextSiblingElement())
      pending.emplace_back(child, depth + 1);
  }
  return deepest;
}

inline Layout Survey(const std::string& text) {
  Layout layout;
  layout.queries = {{"", -1}, {"", 0}, {"", 1}};
  TiXmlDocument document;
  if (!ParseXmlText(text, document)) return layout;
  layout.wellFormed = true;
  const TiXmlElement* root = document.RootElement();
  layout.depth = ElementDepth(root);
  std::string firstSet, lastSet;
  bool sawSet = false;
  int frame = 2;
  bool sawFrame = false;
  for (const TiXmlElement* child = root->FirstChildElement(); child;
       child = child->NextSiblingElement()) {
    if (layout.children == 0) layout.firstChildIsHitbox = child->ValueStr() == "hitbox";
    ++layout.children;
    layout.hasHitboxChild = layout.hasHitboxChild || child->ValueStr() == "hitbox";
    if (const char* set = child->Attribute("userdata")) {
      if (!sawSet) firstSet = set;
      lastSet = set;
      sawSet = true;
    }
    if (const char* text = child->Attribute("frame"); text && !sawFrame) {
      double value = 0;
      if (ParseLeadingDouble(text, value) && value > -1e9 && value < 1e9) {
        frame = static_cast<int>(value);
        sawFrame = true;
      }
    }
  }
  for (const std::string& set : {firstSet, lastSet}) {
    if (!sawSet) break;
    for (int f : {-1, 0, frame}) layout.queries.push_back({set, f});
  }
  layout.queries.push_back({"", frame});
  return layout;
}

inline bool ReadFromDisk(std::string_view data) {
  unsigned char mix = 0;
  for (char c : data) mix ^= static_cast<unsigned char>(c);
  return (mix & 7) == 0;
}

template <typename Reader = GameReader>
void Run(std::string_view data) {
  using File = typename Reader::File;
  const std::string text(data);
  const Layout layout = Survey(text);

  // The parser recurses once a level and slows down with depth; no file of
  // ours nests a tenth of this, so deeper text must have been refused.
  Require(layout.depth <= kDeepestAccepted, "the XML guard lets absurd nesting through");

  File file;
  const bool parsed = file.Parse(text);
  std::vector<CHitBox> boxes;
  file.AppendAll(boxes);
  Require(boxes.size() == file.Count(), "AppendAll gives Count() boxes");
  if (!parsed) Require(boxes.empty(), "boxes left after a failed parse");
  if (parsed) {
    Require(layout.wellFormed, "boxes from text the XML parser rejects");
    Require(layout.hasHitboxChild, "boxes from a root without a \"hitbox\" child");
    Require(boxes.size() <= layout.children, "more boxes than child elements");
  }

  // Negative sizes are turned round before anything is rounded to float,
  // and rounding is monotonic, so the order survives even for values that
  // overflow a float. NaN cannot come in: non-finite numbers are refused.
  for (const CHitBox& box : boxes) {
    Require(!std::isnan(box.top) && !std::isnan(box.bottom) && !std::isnan(box.left) &&
                !std::isnan(box.right),
            "NaN edge");
    Require(box.left <= box.right, "left beyond right");
    Require(box.top <= box.bottom, "top below bottom");
  }

  // Appending keeps what the caller had.
  std::vector<CHitBox> appended{Untouched()};
  file.AppendAll(appended);
  Require(appended.size() == boxes.size() + 1 && IsUntouched(appended[0]),
          "AppendAll disturbs the boxes already there");

  // Whether a box is found depends only on the file, not on the query.
  std::vector<bool> found;
  std::vector<CHitBox> results;
  for (const Query& query : layout.queries) {
    CHitBox box = Untouched();
    const bool hit = file.Find(query.userdata, query.frame, box);
    if (!hit) Require(IsUntouched(box), "a failed Find changes the box");
    if (hit) {
      bool known = false;
      for (const CHitBox& candidate : boxes) known = known || Same(candidate, box);
      Require(known, "Find gives a box the file does not hold");
    }
    Require(found.empty() || hit == found.front(), "Find fails for one query, not for another");
    found.push_back(hit);
    results.push_back(box);
  }
  if (!parsed) Require(!found.front(), "Find succeeds after a failed parse");
  if (!boxes.empty() && layout.firstChildIsHitbox) {
    Require(found.front(), "no box for (\"\", -1) though the file starts with a hitbox");
    Require(Same(results.front(), boxes.front()), "(\"\", -1) is not the first box");
  }

  // A reader used before must not remember its last file.
  File reused;
  reused.Parse(std::string(kPrimer));
  Require(reused.Parse(text) == parsed, "a reused reader parses differently");
  std::vector<CHitBox> reusedBoxes;
  reused.AppendAll(reusedBoxes);
  Require(Same(reusedBoxes, boxes), "a reused reader keeps boxes of its last file");
  for (std::size_t i = 0; i < layout.queries.size(); ++i) {
    CHitBox box = Untouched();
    const bool hit = reused.Find(layout.queries[i].userdata, layout.queries[i].frame, box);
    Require(hit == found[i] && Same(box, results[i]), "a reused reader finds differently");
  }

  if (!ReadFromDisk(data)) return;
  // The fuzzer's forked workers share one scratch directory.
  const std::string base = "hitbox-fuzz-" + std::to_string(getpid());
  const std::string path = base + ".hitbox.xml";
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    Require(static_cast<bool>(out), "cannot write the scratch file");
  }
  std::vector<CHitBox> loaded{Untouched()};
  Reader::LoadList(base, loaded);
  Require(loaded.size() == boxes.size() + 1 && IsUntouched(loaded[0]),
          "LoadHitBoxList disturbs the boxes already there");
  loaded.erase(loaded.begin());
  Require(Same(loaded, boxes), "the file reads differently from the same text in memory");
  // Two queries are plenty: each one reads the file again.
  for (std::size_t i : {std::size_t{0}, layout.queries.size() - 1}) {
    CHitBox box = Untouched();
    const bool hit =
        Reader::LoadOne(layout.queries[i].userdata, layout.queries[i].frame, base, box);
    Require(hit == found[i] && Same(box, results[i]), "LoadHitBox differs from Find");
  }
  std::remove(path.c_str());
}

}  // namespace HitBoxFuzz
