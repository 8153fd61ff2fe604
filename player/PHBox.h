#pragma once

#include <string>
#include <vector>

#include "objects/HitBox.h"

// The four boxes of one animation frame, in frame pixels (from the frame's
// top-left corner).
struct PHBoxRecord {
  CHitBox top;
  CHitBox left;
  CHitBox right;
  CHitBox bottom;
};

// One of the hero's box sets (standing or crouching). Only the first record
// takes part in collision; the origin is where the frame's top-left corner
// stood when the boxes were last placed.
class CPHBox {
public:
  virtual ~CPHBox() = default;

  // The record collision uses; a set never read holds none and gives
  // four empty boxes.
  const PHBoxRecord& First() const;

  float originX = 0.0f;
  float originY = 0.0f;
  std::vector<PHBoxRecord> records;
};

// Reads "Values/Player Collisions/" + fileName + ".hitbox.xml" into `set`:
// one record per frame key 0 .. keyCount - 1 (at least one), each box by its
// set name "Top", "Left", "Right" or "Bottom" and the key. The old records
// are replaced only when the file reads; otherwise they stay (an empty set
// gets one record of empty boxes) and the answer is false.
bool LoadBoxSet(const std::string& fileName, int keyCount, CPHBox& set);
