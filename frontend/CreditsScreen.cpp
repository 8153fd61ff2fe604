#include "frontend/CreditsScreen.h"

#include "frontend/BackLink.h"
#include "frontend/MenuInput.h"
#include "graphics/Direct3D.h"
#include "graphics/TextureManager.h"
#include "input/InputManager.h"

namespace {

// The people are of our own invention.
struct PageText {
  const char* title;
  const char* body;
  const char* picture;  // empty: none
  float pictureX;       // from the screen's offset
  float pictureY;
  float bodyY;
};

const PageText kPages[CCreditsScreen::kPageCount] = {
    {"Tomo Arakiri", "Game Design\nLevel Design", "Graphics/Misc/ui_portrait_1.png", 250, 120, 320},
    {"Lin Vessard", "Gameplay Implementation\nTrap Implementation\nAnimation Implementation",
     "Graphics/Misc/ui_portrait_2.png", 200, 120, 350},
    {"Pavo Marrick", "Technical Implementation\nAudio Implementation\nInterface Implementation",
     "Graphics/Misc/ui_portrait_3.png", 200, 120, 350},
    {"Eiko Sunmere", "Character\nAnimations\nProps\nCover", "Graphics/Misc/ui_portrait_4.png", 250,
     120, 320},
    {"Dario Quellwind", "Background\nInterface\nTraps\nTile Set", "Graphics/Misc/ui_portrait_5.png",
     250, 120, 320},
    {"Yuki Brannoch", "Producer\nVision Keeper\nAudio", "Graphics/Misc/ui_portrait_6.png", 250, 150,
     320},
    {"Freelancer",
     "\n Character Concept Art \n Ines Larkwood \n\n Soundtrack \n Teo Ravensholm \n"
     " Find it in the game's Audio/bgm ",
     "", 0, 0, 120},
    {"Special Thanks",
     "Rika and Jun Asato\nThe Tuesday Playtest Club\nEveryone at the Old Mill\nOur families\n"
     "The Internet",
     "", 0, 0, 150},
    {"Legal Notes", "A game by Orvel Studio\n\nUses OpenAL, Alure and Tiled", "", 0, 0, 280},
};

constexpr int kSpecialThanks = 7;
constexpr int kLegalNotes = 8;

}  // namespace

CCreditsScreen::CCreditsScreen(CMenuNavigator* owner) : CMenuScreen("credits", owner) {
  SetBackground("Graphics/Misc/ui_menu_bg.png");
}

void CCreditsScreen::BuildCredits() {
  pages.clear();
  ClearItems();
  CTextureManager* textures = CTextureManager::GetInstance();
  const float half = static_cast<float>(background.GetFrameWidth() / 2);
  for (int i = 0; i < kPageCount; ++i) {
    const PageText& text = kPages[i];
    auto page = std::make_unique<Page>();
    page->title = text.title;
    page->body = text.body;
    std::string picture = text.picture;
    int anchor = 0;
    float px = x + text.pictureX;
    float py = y + text.pictureY;
    if (i == kLegalNotes) {
      picture = "Graphics/Misc/ui_orvel_logo.png";
      anchor = 4;
      px = x + half;
      py = y + 190.0f;
    }
    if (!picture.empty() && textures) {
      page->picture.Init(CDirect3D::GetInstance());
      page->picture.SetTexture(1, anchor, 0, 0, 0.0f, textures->GetTexture(picture));
      if (i == kLegalNotes) page->picture.SetScale(0.3f, 0.3f);
      page->picture.SetPosition(px, py);
      page->picture.Advance(0.0f);
    }
    pages.push_back(std::move(page));
  }
  AddItem(new CBackLink("BACK", "back", 280.0f, 450.0f, CBitmapFont::kCentre));
}

void CCreditsScreen::Update(float seconds) {
  if (const CInputManager* input = CInputManager::GetInstance()) {
    if (MenuRightPressed(*input)) {
      page = page + 1 >= kPageCount ? 0 : page + 1;
      PlaySwitch();
    } else if (MenuLeftPressed(*input)) {
      page = page <= 0 ? kPageCount - 1 : page - 1;
      PlaySwitch();
    }
  }
  CMenuScreen::Update(seconds);
}

void CCreditsScreen::Draw() {
  CMenuScreen::Draw();
  constexpr std::uint32_t kBlack = 0xff000000;
  font.DrawText("<<", nullptr, 0.6f, CBitmapFont::kLeft, kBlack, 1.0f, x + 60.0f, y + 80.0f);
  font.DrawText(">>", nullptr, 0.6f, CBitmapFont::kLeft, kBlack, 1.0f, x + 480.0f, y + 80.0f);
  if (page < 0 || static_cast<std::size_t>(page) >= pages.size()) return;
  const Page& shown = *pages[static_cast<std::size_t>(page)];
  shown.picture.Draw(1.0f, nullptr);
  const float centre = x + static_cast<float>(background.GetFrameWidth() / 2);
  font.DrawText(shown.title, nullptr, 0.6f, CBitmapFont::kCentre, kBlack, 1.0f, centre, y + 80.0f);
  const PageText& text = kPages[page];
  if (page == kSpecialThanks)
    font.DrawText(shown.body, nullptr, 0.35f, CBitmapFont::kCentre, kBlack, 1.3f, x + 300.0f,
                  y + text.bodyY);
  else
    font.DrawText(shown.body, nullptr, 0.35f, CBitmapFont::kLeft, kBlack, 1.3f, x + 90.0f,
                  y + text.bodyY);
}
