// The interface art as the menus and the HUD lay it out, drawn through the
// game's own sprites, font and sprite batch, for review:
//   kuroshin_interface_mockup DATA_DIR OUT_PREFIX
// Writes OUT_PREFIX-menu.png (title picture with the multiplied sun and the
// start screen), -hud.png (a level's background with the HUD), -finish.png,
// -levels.png, -credits.png, -loading.png, -pause.png and -font.png (a
// pangram at every scale the menus use). Headless.
#include <stdio.h>

#include <memory>
#include <string>
#include <vector>

#include "graphics/BitmapFont.h"
#include "graphics/Direct3D.h"
#include "graphics/Sprite.h"
#include "graphics/TextureManager.h"
#include "platform/SpriteBatch.h"
#include "platform/Video.h"
#include "tools/common/ScratchDirectory.h"

namespace {

constexpr std::uint32_t kBlack = 0xff000000;

class Mockup {
public:
  Mockup(CDirect3D& device, CTextureManager& cache, std::string dataDir)
      : d3d(device),
        textures(cache),
        data(std::move(dataDir)),
        font(textures.GetTexture(data + CBitmapFont::kDefaultPath)) {
    cursor = Sprite("Graphics/Misc/ui_shuriken.png", 0, 0, 0);
  }

  // A whole-image sprite as the menus set theirs up.
  CSprite* Sprite(const std::string& path, int anchor, float x, float y) {
    auto sprite = std::make_unique<CSprite>();
    sprite->Init(&d3d);
    sprite->SetTexture(1, anchor, 0, 0, 0, textures.GetTexture(data + path));
    sprite->SetPosition(x, y);
    sprite->Advance(0);
    sprites.push_back(std::move(sprite));
    return sprites.back().get();
  }

  static void Draw(CSprite* sprite) { sprite->Draw(1.0f, nullptr); }

  // A menu link as the toolkit draws one: the selected one moves right and
  // gets the cursor beside it.
  void Link(const std::string& text, float x, float y, bool selected, float scale = 0.75f) {
    TextBounds bounds;
    font.DrawText(text, &bounds, scale, CBitmapFont::kLeft, kBlack, 1.0f, x + (selected ? 20 : 0),
                  y);
    if (selected) {
      cursor->SetPosition(bounds.left - 64, bounds.top - 16);
      cursor->Advance(0);
      Draw(cursor);
    }
  }

  void Begin(std::uint32_t clear = 0xff000000) {
    d3d.clearColour = clear;
    d3d.BeginFrame();
    d3d.GetSprite()->Begin(SpriteBlend::Alpha);
  }

  bool Save(const std::string& path) {
    d3d.GetSprite()->End();
    std::string error;
    bool saved = d3d.SaveFramePng(path, &error);
    d3d.EndFrame();
    if (!saved) fprintf(stderr, "could not write %s: %s\n", path.c_str(), error.c_str());
    return saved;
  }

  void Background() {
    for (const char* layer : {"bg_layer00", "bg_layer01", "bg_layer02", "bg_layer03"})
      Draw(Sprite(std::string("Graphics/Background/") + layer + ".png", 0, 0, 0));
  }

  CDirect3D& d3d;
  CTextureManager& textures;
  std::string data;
  CBitmapFont font;
  CSprite* cursor = nullptr;
  std::vector<std::unique_ptr<CSprite>> sprites;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: %s DATA_DIR OUT_PREFIX\n", argv[0]);
    return 2;
  }
  const std::string data = FromStartingDirectory(argv[1]) + "/";
  const std::string out = FromStartingDirectory(argv[2]);
  if (!InitVideo(true, StopSignals::EndAtOnce)) return 1;
  bool ok = true;
  {
    CTextureManager textures;
    CDirect3D d3d;
    if (!d3d.Init(d3d.CreateMainWindow(1280, 1024), 1280, 1024, false)) return 1;
    Mockup m(d3d, textures, data);
    CSpriteBatch& batch = *d3d.GetSprite();

    // The menu panel's place on the title picture.
    CSprite* panel = m.Sprite("Graphics/Misc/ui_menu_bg.png", 0, 0, 0);
    const unsigned w = static_cast<unsigned>(panel->GetFrameWidth());
    const unsigned h = static_cast<unsigned>(panel->GetFrameHeight());
    const float mx = static_cast<float>((1280 - w) - 30);
    const float my = static_cast<float>((512 - h / 2) + 60);
    panel->SetPosition(mx, my);
    panel->Advance(0);

    // Title picture: back layer, the sun multiplied in, front layer, panel.
    m.Begin();
    Mockup::Draw(m.Sprite("Graphics/Misc/ui_mainmenu_bg1.png", 0, 0, 0));
    batch.Begin(SpriteBlend::Multiply);
    CSprite* sun = m.Sprite("Graphics/Misc/ui_mainmenu_bg_sun.png", 4, 384, 570);
    sun->SetRotation(37);
    Mockup::Draw(sun);
    batch.Begin(SpriteBlend::Alpha);
    Mockup::Draw(m.Sprite("Graphics/Misc/ui_mainmenu_bg2.png", 0, 0, 0));
    Mockup::Draw(panel);
    const char* links[] = {"START", "OPTIONS", "ACHIEVEMENTS", "CREDITS", "EXIT"};
    for (int i = 0; i < 5; ++i) m.Link(links[i], mx + 130, my + 130 + 70 * i, i == 1);
    d3d.DrawVersionLabel();
    ok &= m.Save(out + "-menu.png");

    // A level with its HUD, the scroll collected.
    m.Begin();
    m.Background();
    CSprite* hudScroll = m.Sprite("Graphics/Misc/ui_ingame_scroll.png", 0, 0, 0);
    const float hx = 1280.0f - static_cast<float>(hudScroll->GetFrameWidth()) - 5;
    CSprite* hud = m.Sprite("Graphics/Misc/ui_ingame_bg.png", 0, hx, 0);
    hudScroll->SetPosition(hx, 0);
    hudScroll->Advance(0);
    Mockup::Draw(hud);
    m.font.DrawText("042.57", nullptr, 0.5f, CBitmapFont::kLeft, kBlack, 1.0f, hx + 113, 43);
    Mockup::Draw(hudScroll);
    m.font.DrawText("120 FPS", nullptr, 0.5f, CBitmapFont::kLeft, kBlack, 1.0f, 25, 974);
    ok &= m.Save(out + "-hud.png");

    // The finish panel over the level, a new best time.
    m.Begin();
    m.Background();
    CSprite* finish = m.Sprite("Graphics/Misc/ui_menu_bg_finisher.png", 0, 0, 100);
    const float fx = 640.0f - static_cast<float>(finish->GetFrameWidth()) / 2;
    finish->SetPosition(fx, 100);
    finish->Advance(0);
    Mockup::Draw(finish);
    const char* finishLinks[] = {"RETRY", "CONTINUE", "BACK TO MENU"};
    for (int i = 0; i < 3; ++i) m.Link(finishLinks[i], fx + 480, 100 + 85 + 60 * i, i == 2);
    m.font.DrawText("042.57", nullptr, 1.0f, CBitmapFont::kLeft, 0xffff0000, 1.0f, fx + 175, 280);
    CSprite* icon = m.Sprite("Graphics/Misc/misc_scroll.png", 4, fx + 300, 230);
    icon->SetScale(1.25f, 1.25f);
    Mockup::Draw(icon);
    CSprite* greyIcon = m.Sprite("Graphics/Misc/misc_scroll_grey.png", 4, 200, 700);
    greyIcon->SetScale(1.25f, 1.25f);
    Mockup::Draw(greyIcon);
    ok &= m.Save(out + "-finish.png");

    // Level selection on the title picture: times, scrolls, a locked level.
    m.Begin();
    Mockup::Draw(m.Sprite("Graphics/Misc/ui_mainmenu_bg1.png", 0, 0, 0));
    Mockup::Draw(m.Sprite("Graphics/Misc/ui_mainmenu_bg2.png", 0, 0, 0));
    Mockup::Draw(panel);
    m.font.DrawText("CHAPTER 1", nullptr, 0.6f, CBitmapFont::kCentre, kBlack, 1.0f, mx + w / 2,
                    my + 80);
    m.font.DrawText("<<", nullptr, 0.6f, CBitmapFont::kLeft, kBlack, 1.0f, mx + 60, my + 80);
    m.font.DrawText(">>", nullptr, 0.6f, CBitmapFont::kLeft, kBlack, 1.0f, mx + 480, my + 80);
    const char* names[] = {"01 Dusk Road", "02 Bamboo Gate", "03 Red Roofs Over The Sleeping Town",
                           "04 Last Light"};
    const char* times[] = {"035.12", "----", "----", "----"};
    for (int i = 0; i < 4; ++i) {
      const bool locked = i == 3;
      const std::uint32_t colour = locked ? 0x5f000000 : kBlack;
      const float lx = mx + 90 + (i == 0 ? 20 : 0);
      TextBounds r;
      // Names cut before the times, which line up on their right.
      m.font.DrawText(m.font.FitWidth(names[i], 0.4f,
                                      (425 - 12 - 110) -
                                          m.font.TextWidth(times[i], 0, CBitmapFont::kLeft, 0.4f)),
                      &r, 0.4f, CBitmapFont::kLeft, colour, 1.0f, lx, my + 150 + 55 * i);
      if (i == 0) {
        m.cursor->SetPosition(r.left - 64, r.top - 24);
        m.cursor->Advance(0);
        Mockup::Draw(m.cursor);
      }
      m.font.DrawText(times[i], nullptr, 0.4f, CBitmapFont::kRight, colour, 1.0f, mx + 425, r.top);
      CSprite* scroll =
          m.Sprite(i == 0 ? "Graphics/Misc/ui_scroll.png" : "Graphics/Misc/ui_scroll_grey.png", 4,
                   mx + 460, r.top + 13);
      if (locked)
        m.font.DrawText("2/5", nullptr, 0.4f, CBitmapFont::kLeft, kBlack, 1.0f,
                        mx + 460 - scroll->GetFrameWidth() / 2, r.top + 13);
      Mockup::Draw(scroll);
    }
    m.Link("BACK", mx + 300 - m.font.TextWidth("BACK", 0, 2, 0.6f) / 2, my + 450, false, 0.6f);
    ok &= m.Save(out + "-levels.png");

    // Credits, page 0 and the legal page's logo side by side: two panels.
    m.Begin();
    Mockup::Draw(m.Sprite("Graphics/Misc/ui_mainmenu_bg1.png", 0, 0, 0));
    for (int page = 0; page < 2; ++page) {
      const float cx = page == 0 ? 40.0f : mx;
      CSprite* sheet = m.Sprite("Graphics/Misc/ui_menu_bg.png", 0, cx, my);
      Mockup::Draw(sheet);
      m.font.DrawText("<<", nullptr, 0.6f, CBitmapFont::kLeft, kBlack, 1.0f, cx + 60, my + 80);
      m.font.DrawText(">>", nullptr, 0.6f, CBitmapFont::kLeft, kBlack, 1.0f, cx + 480, my + 80);
      if (page == 0) {
        Mockup::Draw(m.Sprite("Graphics/Misc/ui_portrait_2.png", 0, cx + 200, my + 120));
        m.font.DrawText("Person Two", nullptr, 0.6f, CBitmapFont::kCentre, kBlack, 1.0f, cx + w / 2,
                        my + 80);
        m.font.DrawText("Gameplay Implementation\nTrap Implementation\nAnimation Implementation",
                        nullptr, 0.35f, CBitmapFont::kLeft, kBlack, 1.3f, cx + 90, my + 350);
      } else {
        CSprite* logo = m.Sprite("Graphics/Misc/ui_orvel_logo.png", 4, cx + w / 2, my + 190);
        logo->SetScale(0.3f, 0.3f);
        Mockup::Draw(logo);
        m.font.DrawText("Legal Notes", nullptr, 0.6f, CBitmapFont::kCentre, kBlack, 1.0f,
                        cx + w / 2, my + 80);
        m.font.DrawText("Made by a small team\n\nUses OpenAL, Alure and Tiled", nullptr, 0.35f,
                        CBitmapFont::kLeft, kBlack, 1.3f, cx + 90, my + 280);
      }
      m.Link("BACK", cx + 280 - m.font.TextWidth("BACK", 0, 2, 0.9f) / 2, my + 440, true, 0.9f);
    }
    ok &= m.Save(out + "-credits.png");

    // Loading.
    m.Begin();
    Mockup::Draw(m.Sprite("Graphics/Misc/misc_loading_screen.png", 0, 0, 0));
    m.font.DrawText("LOADING...", nullptr, 0.8f, CBitmapFont::kLeft, kBlack, 1.0f, 500, 850);
    ok &= m.Save(out + "-loading.png");

    // Pause: the level darkened by the overlay, the panel centred.
    m.Begin();
    m.Background();
    CSprite* overlay = m.Sprite("Graphics/Misc/misc_overlay.png", 0, 640, 512);
    overlay->SetScale(1280, 1024);
    overlay->SetAlpha(0.4f);
    overlay->Advance(0);
    Mockup::Draw(overlay);
    const float px = 640.0f - w / 2.0f, py = 512.0f - h / 2.0f;
    Mockup::Draw(m.Sprite("Graphics/Misc/ui_menu_bg.png", 0, px, py));
    const char* pauseLinks[] = {"RESUME GAME", "RETRY", "OPTIONS", "BACK TO MENU", "LEAVE GAME"};
    for (int i = 0; i < 5; ++i) m.Link(pauseLinks[i], px + 120, py + 140 + 60 * i, i == 0);
    ok &= m.Save(out + "-pause.png");

    // The font at every scale the interface uses, on the panel's paper.
    m.Begin(0xffe0c890);
    const float scales[] = {0.3f, 0.35f, 0.4f, 0.5f, 0.6f, 0.75f, 0.8f, 0.9f, 1.0f};
    float y = 20;
    for (float scale : scales) {
      char label[16];
      snprintf(label, sizeof label, "%.2f", scale);
      m.font.DrawText(label, nullptr, 0.3f, CBitmapFont::kLeft, 0xff7a1010, 1.0f, 10, y);
      m.font.DrawText("Sphinx of black quartz, judge my vow! 0123456789", nullptr, scale,
                      CBitmapFont::kLeft, kBlack, 1.0f, 70, y);
      y += 64 * scale + 14;
    }
    m.font.DrawText("RESOLUTION << 1280x1024 >> : ON : OFF  2/5  ----  999.99", nullptr, 0.6f,
                    CBitmapFont::kLeft, kBlack, 1.0f, 70, y);
    y += 64 * 0.6f + 14;
    m.font.DrawText("THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG ()[]{}<>#%&*+-=/\\@$^_`|~;'\"?",
                    nullptr, 0.5f, CBitmapFont::kLeft, kBlack, 1.0f, 70, y);
    ok &= m.Save(out + "-font.png");

    textures.ReleaseAll();
  }
  ShutdownVideo();
  return ok ? 0 : 1;
}
