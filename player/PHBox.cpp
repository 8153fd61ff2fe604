#include "player/PHBox.h"

#include <algorithm>

#include "objects/HitBoxFile.h"

const PHBoxRecord& CPHBox::First() const {
  static const PHBoxRecord kEmpty;
  return records.empty() ? kEmpty : records.front();
}

bool LoadBoxSet(const std::string& fileName, int keyCount, CPHBox& set) {
  CHitBoxFile file;
  if (!file.Load("Values/Player Collisions/" + fileName + ".hitbox.xml")) {
    if (set.records.empty()) set.records.emplace_back();
    return false;
  }
  std::vector<PHBoxRecord> records(static_cast<std::size_t>(std::max(keyCount, 1)));
  for (std::size_t key = 0; key < records.size(); ++key) {
    PHBoxRecord& record = records[key];
    const int frame = static_cast<int>(key);
    file.Find("Top", frame, record.top);
    file.Find("Left", frame, record.left);
    file.Find("Right", frame, record.right);
    file.Find("Bottom", frame, record.bottom);
  }
  set.records = std::move(records);
  return true;
}
