// c_MyApp, loading screen and image slots: the art level chosen from the window size, loading images and fonts
// into the numbered slots that draw-list records name, and the fifteen-update loader that fills them (and the
// sound cue slots) one step per update behind a turning loading screen.
// Depends on the graphics module (kp_graphics_LoadImage2, kp_graphics_DecodeImagesAhead), the app module
// (device size), the sound cues (p_LoadSFX, p_PlaySFX), the draw list and p_Text, and the game module's virtual
// screen size.
// NOTE: loading runs at start and again whenever the window size changes, and every step loads its files
// afresh, so the art always matches the window it is shown in.
// NOTE: as a load begins, the host is asked to read and decode all its sheets ahead on a thread of its own: a
// sheet of the largest art takes longer to decode than an update lasts, and a step that decoded its own would
// hold the loading screen still (and the frame loop would then run the next steps back to back). The slots are
// still filled one step per update, in the same order. A host that decodes apart from the frame loop altogether
// (a web page's browser) may not be done when a step's turn comes: the step then waits, the screen turning.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "framework/app/app.h"
#include "game/art_levels.h"  // the levels' sides and suffixes
#include "game/load_steps.h"
#include "game/myapp.h"
#include "game/search.h"

using namespace load_steps;

namespace {

constexpr int kJingleCue = 96;
// The file whose arrival tells that a level's art has arrived: a host that downloads art by level brings a
// level's files all at once.
constexpr const char* kLevelSign = "logo";

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

}  // namespace

int c_MyApp::p_ArtLevelFor(int devWidth, int devHeight) const {
    if (kp_Search_UseHDImages == 0) return 1;
    // NOTE: of the levels the window reaches, the largest whose art has arrived (p_LookForArt): a host that
    // downloads art by level starts the game on a smaller one, and the sharper art follows (p_SharpenArt). A
    // data folder on disk holds every level, so there it is the largest the window reaches.
    const int side = std::max(devWidth, devHeight);
    for (const art::Level& level : art::kLevels) {
        if (side >= level.side && (m_artHere & (1 << level.level)) != 0) return level.level;
    }
    return art::LevelForSide(0).level;
}

void c_MyApp::p_LookForArt() {
    m_artHere = 0;
    for (const art::Level& level : art::kLevels) {
        if (kp_graphics_ImageArrived(LevelFile(String(kLevelSign), level.level))) m_artHere |= 1 << level.level;
    }
}

void c_MyApp::p_ChooseArtLevel() {
    m_hdLevel = p_ArtLevelFor(kp_app__devWidth, kp_app__devHeight);
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
    p_LookForArt();
    p_ChooseArtLevel();
    m_loadStep = 1;
    // NOTE: the loading screen's own logo and font are loaded before any step, at once where the host has them
    // ready; else they are decoded first of all, and the rings turn alone until they are (p_LoadLoadingArt).
    m_loadingArtDue = 1;
    if (p_LoadLoadingArt()) {
        p_DecodeAhead(1, m_hdLevel);
    } else {
        p_DecodeAhead(0, m_hdLevel);
    }
    return 0;
}

bool c_MyApp::p_LoadLoadingArt() {
    if (m_loadingArtDue == 0) return true;
    const std::vector<String> files = {LevelFile(String("common/PLOVLogo"), m_hdLevel),
                                       LevelFile(String("fonts/shadow_editundo"), m_hdLevel)};
    if (!kp_graphics_ImagesReady(files)) return false;
    p_LoadImg(kLogoSlot, String("common/PLOVLogo"), 256, 256, 1, kLoadFlags);
    p_LoadFont(kLoadingFont, String("fonts/shadow_editundo"), kFontAdvance, kFontLineHeight);
    m_loadingArtDue = 0;
    return true;
}

int c_MyApp::p_Loader() {
    // The window may have changed since loading began.
    p_ChooseArtLevel();
    if (m_hdLevel != m_aheadLevel) p_DecodeAhead(m_loadStep, m_hdLevel);
    if (m_loadStep >= 1 && m_loadStep <= kLastStep) {
        if (!p_LoadLoadingArt() || !kp_graphics_ImagesReady(StepFiles(m_loadStep, m_hdLevel))) {
            p_WaitStart(1);
            return 0;
        }
        p_LoadStepFiles(m_loadStep);
        // The jingle greets the player once per run, as the logo first finishes loading.
        if (m_loadStep == kLogoStep && m_jinglePlayed == 0) {
            p_PlaySFX(kJingleCue, 1, 1, 0);
            m_jinglePlayed = 1;
        }
        if (m_loadStep == kLastFontStep) m_font = kLoadingFont;
        ++m_loadStep;
    } else {
        m_loadStep = 0;
        kp_graphics_ShowingArtLevel(m_hdLevel);
    }
    p_WaitStart(1);
    return 0;
}

void c_MyApp::p_LoadStepFiles(int step) {
    const LoadStep& files = kLoadSteps[step];
    for (int i = 0; i < files.imageCount; ++i) {
        const StepImage& image = files.images[i];
        if (image.font) {
            p_LoadFont(image.slot, String(image.name), kFontAdvance, kFontLineHeight);
        } else {
            p_LoadImg(image.slot, String(image.name), image.width, image.height, image.frames, kLoadFlags);
        }
    }
    if (files.sound != kNoSound) p_LoadSFX(files.sound);
}

void c_MyApp::p_DecodeAhead(int fromStep, int level) {
    m_aheadLevel = level;
    std::vector<String> files;
    // Step 0: the loading screen's logo and font, first of all.
    if (fromStep <= 0) {
        files.push_back(LevelFile(String("common/PLOVLogo"), level));
        files.push_back(LevelFile(String("fonts/shadow_editundo"), level));
    }
    for (int step = std::max(fromStep, 1); step <= kLastStep; ++step) {
        for (const String& file : StepFiles(step, level)) files.push_back(file);
    }
    kp_graphics_DecodeImagesAhead(files);
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
