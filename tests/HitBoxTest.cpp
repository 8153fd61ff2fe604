// Hit boxes: the overlap test, the box files and the box-set walk.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include "objects/HitBox.h"
#include "objects/HitBoxFile.h"
#include "support/ChildProcess.h"

namespace {

CHitBox Box(float left, float top, float right, float bottom) {
  return CHitBox(top, bottom, left, right);
}

void Write(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// Top and Left sets over frames 0 and 1; the running states carry over.
const char* kSets =
    "<hitboxes>\n"
    "  <hitbox userdata=\"Top\" frame=\"0\" x=\"0\" y=\"0\" width=\"1\" height=\"1\"/>\n"
    "  <hitbox frame=\"1\" x=\"0\" y=\"0\" width=\"2\" height=\"2\"/>\n"
    "  <hitbox userdata=\"Left\" frame=\"0\" x=\"0\" y=\"0\" width=\"3\" height=\"3\"/>\n"
    "  <hitbox frame=\"1\" x=\"0\" y=\"0\" width=\"4\" height=\"4\"/>\n"
    "</hitboxes>\n";

float Width(const CHitBox& box) { return box.right - box.left; }

}  // namespace

TEST(HitBoxOverlap, EdgesDepthsAndTheZeroBox) {
  float depth[2] = {-1, -1};
  EXPECT_FALSE(Intersects(Box(0, 0, 10, 10), Box(10, 0, 20, 10), depth)) << "shared edge";
  EXPECT_FALSE(Intersects(Box(0, 0, 10, 10), Box(0, 10, 10, 20), depth));
  EXPECT_EQ(depth[0], -1) << "no overlap leaves the depth alone";

  ASSERT_TRUE(Intersects(Box(0, 0, 10, 10), Box(9, 2, 19, 8), depth));
  EXPECT_FLOAT_EQ(depth[0], 1);
  EXPECT_FLOAT_EQ(depth[1], 8) << "half heights 5 + 3, centres level";
  ASSERT_TRUE(Intersects(Box(9, 2, 19, 8), Box(0, 0, 10, 10), depth)) << "symmetric";
  EXPECT_FLOAT_EQ(depth[0], 1);
  EXPECT_TRUE(Intersects(Box(0, 0, 10, 10), Box(2, 2, 4, 4), nullptr)) << "inside, no output";

  const CHitBox zero;
  EXPECT_TRUE(Intersects(zero, Box(-1, -1, 1, 1), depth));
  EXPECT_FALSE(Intersects(zero, Box(0, 0, 5, 5), nullptr)) << "origin on a corner";
  EXPECT_FALSE(Intersects(zero, Box(-5, 0, 5, 5), nullptr)) << "origin on an edge";
  EXPECT_FALSE(Intersects(zero, zero, nullptr));
}

TEST(HitBoxFile, TheSetAndFrameWalk) {
  CHitBoxFile file;
  ASSERT_TRUE(file.Parse(kSets));
  CHitBox box;
  ASSERT_TRUE(file.Find("Top", 1, box));
  EXPECT_EQ(Width(box), 2);
  ASSERT_TRUE(file.Find("Left", 1, box));
  EXPECT_EQ(Width(box), 4);
  ASSERT_TRUE(file.Find("Left", 0, box));
  EXPECT_EQ(Width(box), 3);
  ASSERT_TRUE(file.Find("", -1, box));
  EXPECT_EQ(Width(box), 1) << "no set, any frame: the first box";
  ASSERT_TRUE(file.Find("", 1, box));
  EXPECT_EQ(Width(box), 2) << "frame 1 of whatever set comes first";
  ASSERT_TRUE(file.Find("Bottom", 0, box));
  EXPECT_EQ(Width(box), 4) << "a set nobody names: the last box";
  ASSERT_TRUE(file.Find("Top", 7, box));
  EXPECT_EQ(Width(box), 1) << "a frame the set lacks: the set's first box";
  ASSERT_TRUE(file.Find("Left", -1, box));
  EXPECT_EQ(Width(box), 3);

  std::vector<CHitBox> all;
  file.AppendAll(all);
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(Width(all[3]), 4);
}

TEST(HitBoxFile, ReadsBoxesAsTheirEdges) {
  CHitBoxFile file;
  ASSERT_TRUE(file.Parse("<boxes><hitbox x=\"4.5\" y=\"-2\" width=\"60\" height=\"14\"/></boxes>"));
  CHitBox box;
  ASSERT_TRUE(file.Find("", -1, box));
  EXPECT_FLOAT_EQ(box.left, 4.5f);
  EXPECT_FLOAT_EQ(box.right, 64.5f);
  EXPECT_FLOAT_EQ(box.top, -2);
  EXPECT_FLOAT_EQ(box.bottom, 12);

  // Frames are truncated like the numbers they are written as.
  ASSERT_TRUE(
      file.Parse("<r><hitbox frame=\"2.9\" x=\"0\" y=\"0\" width=\"5\" height=\"5\"/>"
                 "<hitbox frame=\"3\" x=\"0\" y=\"0\" width=\"6\" height=\"6\"/></r>"));
  ASSERT_TRUE(file.Find("", 2, box));
  EXPECT_EQ(Width(box), 5);
}

TEST(HitBoxFile, DamagedFilesAndBoxes) {
  CHitBoxFile file;
  EXPECT_FALSE(file.Parse("<?xml version=\"1.0\"?>\n")) << "no root element";
  EXPECT_FALSE(file.Parse("<hitboxes><box x=\"0\" y=\"0\" width=\"1\" height=\"1\"/></hitboxes>"))
      << "no child named hitbox";
  EXPECT_FALSE(file.Parse("<hitboxes><hitbox x=\"0\" y=\"0\" width=\"1\" height=\"1\">"))
      << "not well-formed";
  EXPECT_FALSE(file.Parse("<r><hitbox x=\"\xe2\x82\"/></r>")) << "truncated UTF-8";

  // A box whose numbers do not all read is skipped, with a warning naming it.
  const std::string log = "log.txt";
  const int before = Count(ReadWholeFile(log), "Warning:");
  ASSERT_TRUE(
      file.Parse("<r><hitbox x=\"abc\" y=\"0\" width=\"9\" height=\"9\"/>"
                 "<hitbox x=\"1\" y=\"0\" width=\"nan\" height=\"9\"/>"
                 "<hitbox x=\"1\" y=\"0\" height=\"9\"/>"
                 "<hitbox x=\"1\" y=\"0\" width=\"2\" height=\"9\"/></r>"));
  EXPECT_EQ(file.Count(), 1u);
  EXPECT_EQ(Count(ReadWholeFile(log), "Warning:"), before + 3);
  CHitBox box;
  ASSERT_TRUE(file.Find("", -1, box));
  EXPECT_EQ(Width(box), 2);

  ASSERT_TRUE(
      file.Parse("<r><hitbox x=\"1e39\" y=\"0\" width=\"1\" height=\"1\"/>"
                 "<hitbox x=\"3e38\" y=\"0\" width=\"3e38\" height=\"1\"/>"
                 "<hitbox x=\"0\" y=\"0\" width=\"3\" height=\"1\"/></r>"));
  EXPECT_EQ(file.Count(), 1u) << "edges beyond a float";

  // Drawn from the other corner: the same area.
  ASSERT_TRUE(file.Parse("<r><hitbox x=\"10\" y=\"20\" width=\"-4\" height=\"-6\"/></r>"));
  ASSERT_TRUE(file.Find("", -1, box));
  EXPECT_FLOAT_EQ(box.left, 6);
  EXPECT_FLOAT_EQ(box.right, 10);
  EXPECT_FLOAT_EQ(box.top, 14);
  EXPECT_FLOAT_EQ(box.bottom, 20);
}

TEST(HitBoxFile, LoadingByBasePath) {
  Write("Sets.hitbox.xml", kSets);
  CHitBox box(1, 2, 3, 4);
  ASSERT_TRUE(LoadHitBox("Left", 1, "Sets", box));
  EXPECT_EQ(Width(box), 4);

  // Whatever goes wrong, the box stays as it was and the list as it was.
  const CHitBox kept(1, 2, 3, 4);
  box = kept;
  EXPECT_FALSE(LoadHitBox("", -1, "Missing", box));
  ASSERT_EQ(mkdir("Folder.hitbox.xml", 0755), 0);
  EXPECT_FALSE(LoadHitBox("", -1, "Folder", box));
  Write("Broken.hitbox.xml", "<r><hitbox x=\"1\"");
  EXPECT_FALSE(LoadHitBox("", -1, "Broken", box));
  EXPECT_EQ(box.top, kept.top);
  EXPECT_EQ(box.right, kept.right);

  std::vector<CHitBox> list(1);
  LoadHitBoxList("Missing", list);
  LoadHitBoxList("Folder", list);
  LoadHitBoxList("Broken", list);
  EXPECT_EQ(list.size(), 1u);
  LoadHitBoxList("Sets", list);
  EXPECT_EQ(list.size(), 5u) << "appended after what was there";

  // A byte-order mark and a declaration are fine.
  Write("Marked.hitbox.xml",
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<hitboxes><hitbox x=\"1\" y=\"2\" width=\"3\" height=\"4\"/></hitboxes>\n");
  ASSERT_TRUE(LoadHitBox("", -1, "Marked", box));
  EXPECT_FLOAT_EQ(box.bottom, 6);
}
