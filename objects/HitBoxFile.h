#pragma once

#include <string>
#include <vector>

#include "objects/HitBox.h"

// The boxes of one ".hitbox.xml" file: a root element whose children are
// boxes with "x", "y", "width", "height" and optionally "userdata" (the box
// set this child and the following ones belong to) and "frame" (the
// animation frame this child and the following ones belong to).
class CHitBoxFile {
public:
  // False, with no boxes, when the file is missing, not well-formed, has
  // no root or the root has no "hitbox" child. Nothing is reported then:
  // most objects simply have no file.
  bool Load(const std::string& path);
  bool Parse(const std::string& text);

  // The box for a set and a frame (empty set and frame -1 match anything),
  // walking the children from the first one named "hitbox": the first child
  // at which both the set named last and the frame given last match;
  // failing that the last child naming the set, failing that the last
  // child. False when no usable box follows the first "hitbox" child.
  bool Find(const std::string& userdata, int frame, CHitBox& box) const;
  // Every box, in file order.
  void AppendAll(std::vector<CHitBox>& boxes) const;
  std::size_t Count() const { return entries.size(); }

private:
  struct Entry {
    CHitBox box;
    bool hasUserdata = false;
    std::string userdata;
    bool hasFrame = false;
    bool frameIsNumber = false;
    int frame = 0;
    bool fromFirstHitbox = false;  // at or after the first "hitbox" child
  };
  bool Read(class TiXmlDocument& document, const std::string& where);

  std::vector<Entry> entries;
};

// base path + ".hitbox.xml": the box of a set and frame into `box`, which
// stays as it was when the file gives none.
bool LoadHitBox(const std::string& userdata, int frame, const std::string& basePath, CHitBox& box);
// base path + ".hitbox.xml": appends every box of the file.
void LoadHitBoxList(const std::string& basePath, std::vector<CHitBox>& boxes);
