#include "frontend/LevelSelection.h"

#include "frontend/BackLink.h"
#include "frontend/LevelLink.h"
#include "frontend/MenuInput.h"
#include "input/InputManager.h"
#include "progress/ProgressStore.h"

namespace {

constexpr float kRowTop = 150.0f;
constexpr float kRowStep = 55.0f;
constexpr std::size_t kPrefix = sizeof "Levels/" - 1;

}  // namespace

CLevelSelection::CLevelSelection(CMenuNavigator* owner)
    : CMenuScreen("level_selection", owner), chapters(ScanLevelChapters("Levels")) {
  SetBackground("Graphics/Misc/ui_menu_bg.png");
  if (CProgressStore* progress = CProgressStore::GetInstance()) progress->LoadProfile("save");
  requirements.Load();
  RebuildLevelList();
}

std::size_t CLevelSelection::LevelCount() const {
  return chapter < chapters.size() ? chapters[chapter].levels.size() : 0;
}

void CLevelSelection::RebuildLevelList() {
  ClearItems();
  const CProgressStore* progress = CProgressStore::GetInstance();
  if (chapter < chapters.size()) {
    const LevelChapter& shown = chapters[chapter];
    for (std::size_t i = 0; i < shown.levels.size(); ++i) {
      const LevelEntry& level = shown.levels[i];
      const std::string key = shown.name + "/" + level.name;
      const LevelRecord* record = progress ? progress->FindLevelRecord(key) : nullptr;
      AddItem(new CLevelLink(level.name, shown.name + "/" + level.file,
                             record ? record->bestTime : 0.0f, record && record->scroll,
                             requirements[key], 90.0f, 0.0f));
    }
  }
  AddItem(new CBackLink("BACK", "back", 300.0f, 450.0f, CBitmapFont::kCentre));
  FollowSelection();
}

bool CLevelSelection::IsRowShown(std::size_t index) const {
  return index >= LevelCount() || (index >= firstRow && index < firstRow + kVisibleRows);
}

void CLevelSelection::FollowSelection() {
  const std::size_t levels = LevelCount();
  if (selected < levels) {
    if (selected < firstRow) firstRow = selected;
    if (selected >= firstRow + kVisibleRows) firstRow = selected + 1 - kVisibleRows;
  }
  // Never more room below the last row than the list needs.
  firstRow = levels > kVisibleRows ? std::min(firstRow, levels - kVisibleRows) : 0;
  for (std::size_t i = 0; i < levels; ++i)
    Item(i)->y = kRowTop + kRowStep * (static_cast<float>(i) - static_cast<float>(firstRow));
}

void CLevelSelection::Update(float seconds) {
  if (const CInputManager* input = CInputManager::GetInstance()) {
    const std::size_t count = chapters.size();
    if (MenuRightPressed(*input)) {
      chapter = count == 0 || chapter + 1 >= count ? 0 : chapter + 1;
      PlaySwitch();
      RebuildLevelList();
    } else if (MenuLeftPressed(*input)) {
      chapter = count == 0 ? 0 : chapter == 0 || chapter >= count ? count - 1 : chapter - 1;
      PlaySwitch();
      RebuildLevelList();
    }
    // The wheel walks the rows, as Up and Down do.
    const std::size_t levels = LevelCount();
    if (input->wheelDelta != 0 && levels > 0) {
      const std::size_t last = levels - 1;
      if (input->wheelDelta < 0)
        selected = selected < last ? selected + 1 : selected;
      else
        selected = selected > last ? last : selected == 0 ? 0 : selected - 1;
      PlaySwitch();
    }
  }
  CMenuScreen::Update(seconds);
  FollowSelection();
}

void CLevelSelection::Draw() {
  background.Draw(1.0f, nullptr);
  for (std::size_t i = 0; i < ItemCount(); ++i) {
    if (IsRowShown(i)) {
      Item(i)->Draw(x, y, i == selected);
    } else {
      Item(i)->hitBox = CHitBox();  // out of view: not under the pointer either
    }
  }
  if (chapter >= chapters.size()) return;
  const std::string& name = chapters[chapter].name;
  const float centre = x + static_cast<float>(background.GetFrameWidth() / 2);
  // The name stays between the arrows.
  const std::string shown = chapterFont.FitWidth(name.size() > kPrefix ? name.substr(kPrefix) : "",
                                                 0.6f, 2.0f * (centre - (x + 110.0f)));
  chapterFont.DrawText(shown, nullptr, 0.6f, CBitmapFont::kCentre, 0xff000000, 1.0f, centre,
                       y + 80.0f);
  chapterFont.DrawText("<<", nullptr, 0.6f, CBitmapFont::kLeft, 0xff000000, 1.0f, x + 60.0f,
                       y + 80.0f);
  chapterFont.DrawText(">>", nullptr, 0.6f, CBitmapFont::kLeft, 0xff000000, 1.0f, x + 480.0f,
                       y + 80.0f);
  const float middle = x + 300.0f;
  if (firstRow > 0)
    chapterFont.DrawText("...", nullptr, 0.4f, CBitmapFont::kCentre, 0xff000000, 1.0f, middle,
                         y + kRowTop - 30.0f);
  if (firstRow + kVisibleRows < LevelCount())
    chapterFont.DrawText("...", nullptr, 0.4f, CBitmapFont::kCentre, 0xff000000, 1.0f, middle,
                         y + kRowTop + kRowStep * kVisibleRows - 20.0f);
}

std::string CLevelSelection::FindNextLevel(const std::string& current) {
  if (chapter >= chapters.size()) return {};
  const LevelChapter& shown = chapters[chapter];
  const std::string prefix = shown.name + "/";
  const CProgressStore* progress = CProgressStore::GetInstance();
  const std::uint32_t scrolls = progress ? progress->scrollCount : 0;
  for (std::size_t i = 0; i + 1 < shown.levels.size(); ++i) {
    if (prefix + shown.levels[i].file != current) continue;
    const LevelEntry& next = shown.levels[i + 1];
    if (requirements[prefix + next.name] <= scrolls) return prefix + next.file;
    return {};
  }
  return {};
}

void CLevelSelection::ShowChapterOf(const std::string& path) {
  for (std::size_t c = 0; c < chapters.size(); ++c) {
    for (const LevelEntry& level : chapters[c].levels) {
      if (chapters[c].name + "/" + level.file != path) continue;
      if (c != chapter) {
        chapter = c;
        RebuildLevelList();
      }
      return;
    }
  }
}
