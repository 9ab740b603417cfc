// c_MyApp, loading screen and image slots: the art level chosen from the window size, loading images and fonts
// into the numbered slots that draw-list records name, and the fifteen-update loader that fills them (and the
// sound cue slots) one step per update behind a turning loading screen.
// Depends on the graphics module (kp_graphics_LoadImage2), the app module (device size), the sound cues
// (p_LoadSFX, p_PlaySFX), the draw list and p_Text, and the game module's virtual screen size.
// NOTE: loading runs at start and again whenever the window size changes, and every step loads its files
// afresh, so the art always matches the window it is shown in.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "framework/app/app.h"
#include "game/myapp.h"
#include "game/search.h"

namespace {

constexpr int kImageSlots = 100;
// Art levels: the art's pixels per virtual unit. A side of this many device pixels or more asks for the level.
constexpr int kLevel4Side = 1231, kLevel2Side = 631;
// Font sheets: 128 glyph cells of 16 x 16 virtual units, 16 to a row.
constexpr int kFontCell = 16, kFontGlyphs = 128;
// Every image has its handle at its frames' centre.
constexpr int kLoadFlags = ImageMidHandle;
constexpr int kLoadingFont = 90;
constexpr int kLogoSlot = 93;
constexpr int kJingleCue = 96;

// One ring of the loading screen: its start angle, radius as a share of the smaller side, dot size, colour.
struct Ring {
    int start;
    float reach;
    float dot;
    float red, green, blue;
};
constexpr Ring kOuterRing{0, 0.45f, 16, 0, 125, 255};
constexpr Ring kMiddleRing{120, 0.40f, 12, 255, 125, 0};
constexpr Ring kInnerRing{240, 0.35f, 8, 255, 125, 0};
constexpr int kRingDots = 11;

// The file of a base name at an art level: "-hd" at level 2, "-hd2" at level 4, then ".png".
String LevelFile(const String& name, int level) {
    if (level == 4) return name + String("-hd2.png");
    if (level == 2) return name + String("-hd.png");
    return name + String(".png");
}

}  // namespace

void c_MyApp::p_ChooseArtLevel() {
    const int side = std::max(kp_app__devWidth, kp_app__devHeight);
    m_hdLevel = 1;
    if (kp_Search_UseHDImages != 0) {
        if (side >= kLevel4Side) m_hdLevel = 4;
        else if (side >= kLevel2Side) m_hdLevel = 2;
    }
    m_imageScale = 1.0f / static_cast<float>(m_hdLevel);
}

void c_MyApp::p_EmptySlot(int slot) {
    // NOTE: records name slots, never images, so an image leaving its slot is drawn no more. Its pixels and its
    // layer of a texture page go now rather than at the collector step: the image loaded next takes the layer,
    // and a reload neither grows a page nor holds two copies of a sheet's pixels at once.
    kp_graphics_DiscardImage(m_images[slot].Get());
    m_images[slot] = nullptr;
}

int c_MyApp::p_LoadImg(int slot, const String& name, int width, int height, int frames, int flags) {
    // NOTE: only slots 0..99 exist; a slot number outside them names nothing and loads nothing.
    if (slot < 0 || slot >= kImageSlots) return 0;
    p_EmptySlot(slot);
    m_images[slot] = kp_graphics_LoadImage2(LevelFile(name, m_hdLevel), width * m_hdLevel, height * m_hdLevel,
                                            frames, flags);
    m_imageInfo[slot * 3] = width * m_hdLevel;
    m_imageInfo[slot * 3 + 1] = height * m_hdLevel;
    m_imageInfo[slot * 3 + 2] = frames;
    return 0;
}

int c_MyApp::p_LoadFont(int slot, const String& name, int advance, int lineHeight) {
    if (slot < 0 || slot >= kImageSlots) return 0;
    p_EmptySlot(slot);
    m_images[slot] = kp_graphics_LoadImage2(LevelFile(name, m_hdLevel), kFontCell * m_hdLevel,
                                            kFontCell * m_hdLevel, kFontGlyphs, kLoadFlags);
    // NOTE: a font's info is its advance and line height in virtual units, not its cell size: text is laid
    // out in virtual units whatever the art level.
    m_imageInfo[slot * 3] = advance;
    m_imageInfo[slot * 3 + 1] = lineHeight;
    m_imageInfo[slot * 3 + 2] = kFontGlyphs;
    m_font = slot;
    return 0;
}

int c_MyApp::p_Reload() {
    m_clearColor[0] = m_clearColor[1] = m_clearColor[2] = 0.0f;
    m_clearColor[3] = 1.0f;
    p_ChooseArtLevel();
    p_LoadImg(kLogoSlot, String("common/PLOVLogo"), 256, 256, 1, kLoadFlags);
    p_LoadFont(kLoadingFont, String("fonts/shadow_editundo"), 7, 10);
    m_loadStep = 1;
    return 0;
}

int c_MyApp::p_Loader() {
    // The window may have changed since loading began.
    p_ChooseArtLevel();
    switch (m_loadStep) {
        case 1:
            p_LoadImg(97, String("common/icons"), 32, 32, 16, kLoadFlags);
            p_LoadSFX(96);
            break;
        case 2:
            p_LoadImg(95, String("common/Buttons"), 64, 64, 16, kLoadFlags);
            p_LoadSFX(1);
            break;
        case 3:
            p_LoadImg(94, String("common/dpad"), 32, 32, 16, kLoadFlags);
            p_LoadSFX(98);
            break;
        case 4:
            p_LoadImg(kLogoSlot, String("common/PLOVLogo"), 256, 256, 1, kLoadFlags);
            // The jingle greets the player once per run, as the logo first finishes loading.
            if (m_jinglePlayed == 0) {
                p_PlaySFX(kJingleCue, 1, 1, 0);
                m_jinglePlayed = 1;
            }
            break;
        case 5:
            p_LoadFont(kLoadingFont, String("fonts/shadow_editundo"), 7, 10);
            p_LoadSFX(99);
            break;
        case 6:
            p_LoadImg(99, String("menu"), 256, 256, 4, kLoadFlags);
            p_LoadImg(98, String("logo"), 256, 128, 1, kLoadFlags);
            p_LoadSFX(95);
            break;
        case 7:
            p_LoadImg(80, String("BadgesA"), 64, 64, 64, kLoadFlags);
            p_LoadImg(96, String("parts"), 8, 8, 256, kLoadFlags);
            break;
        case 8:
            p_LoadImg(85, String("common/circle"), 256, 256, 4, kLoadFlags);
            p_LoadImg(86, String("common/light"), 32, 32, 4, kLoadFlags);
            break;
        case 9: p_LoadFont(10, String("fonts/Mira_White"), 7, 10); break;
        case 10:
            p_LoadFont(11, String("fonts/Mira_Black"), 7, 10);
            m_font = kLoadingFont;
            break;
        case 11: p_LoadSFX(2); break;
        case 12: p_LoadSFX(3); break;
        case 13: p_LoadSFX(4); break;
        case 14: p_LoadSFX(5); break;
        default: m_loadStep = 0; break;
    }
    if (m_loadStep > 0) ++m_loadStep;
    p_WaitStart(1);
    return 0;
}

int c_MyApp::p_WaitStart(int mode) {
    // Only the loading screen (mode 1) exists.
    if (mode != 1) return 0;

    // Frame start: the background eases towards black and clears the screen.
    m_bgRed -= m_bgRed * 0.125f;
    m_bgGreen -= m_bgGreen * 0.125f;
    m_bgBlue -= m_bgBlue * 0.125f;
    p_CLS2D(m_bgRed, m_bgGreen, m_bgBlue, 1);

    m_spinRadius = static_cast<int>(std::min(kp_Search_jscrw, kp_Search_jscrh));
    m_spinAngle += 3;
    const float cx = kp_Search_jscrw / 2, cy = kp_Search_jscrh / 2;
    // Dots fade in along the ring, 4 degrees apart.
    auto ring = [&](const Ring& r) {
        const float reach = r.reach * static_cast<float>(m_spinRadius);
        for (int i = 0; i < kRingDots; ++i) {
            const double angle = (m_spinAngle + r.start + 4 * i) * std::numbers::pi / 180.0;
            p_SetCol(r.red, r.green, r.blue, static_cast<float>(i) / 10.0f);
            p_Oval(cx + static_cast<float>(std::sin(angle)) * reach, cy - static_cast<float>(std::cos(angle)) * reach,
                   r.dot, r.dot);
        }
    };
    ring(kOuterRing);

    p_SetCol(255, 255, 255, 1);
    p_SetRot(0);
    p_SetSize(2, 2);
    p_DrawImg(kLogoSlot, kp_Search_jscrw * 0.5f, kp_Search_jscrh * 0.48f, 0);
    p_ResetDraw();

    ring(kMiddleRing);
    ring(kInnerRing);

    p_SetCol(255, 255, 255, 1);
    p_SetSize(1, 1);
    p_Text(kp_Search_jscrw * 0.5f, kp_Search_jscrh - 32, String("Loading..."), 1, 1, 0);
    return 0;
}

int c_MyApp::p_BankLoad() { return 0; }
