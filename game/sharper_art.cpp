// c_MyApp, sharper art while the game runs: where the host downloads art by level (a web page starts the game on
// the smallest level, which arrives first), the level the window asks for follows, and is shown without the
// loading screen coming back. Its sheets are loaded beside the slots, one loading step per update and only once
// the host has a step's sheets decoded, so no update takes more than a step's share; then all of them go into
// their slots between two updates, with the level and its scale, so a frame never mixes two levels.
// Depends on the loading steps (game/load_steps.h), the graphics module (kp_graphics_LoadImage2,
// kp_graphics_ImagesReady, kp_graphics_ShowingArtLevel).
// NOTE: a data folder on disk holds every level, so there the window's level is always the one loaded and
// nothing here ever begins.
#include <algorithm>  // std::max

#include "game/art_levels.h"
#include "game/load_steps.h"
#include "game/myapp.h"
#include "game/search.h"  // kp_Search_UseHDImages

using namespace load_steps;

void c_MyApp::p_SharpenArt() {
    // A load under way (the window changed) chooses its own level; whatever was loaded beside it goes.
    if (m_loadStep > 0) {
        if (m_sharpLevel != 0) p_DropSharperArt();
        return;
    }
    if (m_sharpLevel == 0) {
        // NOTE: the size the art was loaded for: a window that has just changed is seen by the next frame,
        // which starts a load of its own. Once the art shown is the level that size reaches, as it always is
        // where every level is at hand, there is nothing to look for.
        const int side = std::max(m_lastDevWidth, m_lastDevHeight);
        if (kp_Search_UseHDImages == 0 || art::LevelForSide(side).level <= m_hdLevel) return;
        p_LookForArt();
        const int level = p_ArtLevelFor(m_lastDevWidth, m_lastDevHeight);
        if (level <= m_hdLevel) return;
        m_sharpLevel = level;
        m_sharpStep = 1;
        p_DecodeAhead(1, level);
        return;
    }
    while (m_sharpStep <= kLastStep && kLoadSteps[m_sharpStep].imageCount == 0) ++m_sharpStep;
    if (m_sharpStep > kLastStep) {
        // Every sheet whole in its texture first, so the first frame drawn with them copies nothing.
        if (kp_graphics_ImagesReady({})) p_ShowSharperArt();
        return;
    }
    if (!kp_graphics_ImagesReady(StepFiles(m_sharpStep, m_sharpLevel))) return;
    p_LoadSharperStep(m_sharpStep);
    ++m_sharpStep;
}

void c_MyApp::p_LoadSharperStep(int step) {
    const int level = m_sharpLevel;
    for (int i = 0; i < kLoadSteps[step].imageCount; ++i) {
        const StepImage& image = kLoadSteps[step].images[i];
        const String file = LevelFile(String(image.name), level);
        const int slot = image.slot;
        if (image.font) {
            m_sharpImages[slot] = kp_graphics_LoadImage2(file, kFontCell * level, kFontCell * level, kFontGlyphs,
                                                         kLoadFlags);
            // A font's info is in virtual units, the same at every level.
            m_sharpInfo[slot * 3] = kFontAdvance;
            m_sharpInfo[slot * 3 + 1] = kFontLineHeight;
            m_sharpInfo[slot * 3 + 2] = kFontGlyphs;
        } else {
            m_sharpImages[slot] = kp_graphics_LoadImage2(file, image.width * level, image.height * level,
                                                         image.frames, kLoadFlags);
            m_sharpInfo[slot * 3] = image.width * level;
            m_sharpInfo[slot * 3 + 1] = image.height * level;
            m_sharpInfo[slot * 3 + 2] = image.frames;
        }
    }
}

void c_MyApp::p_ShowSharperArt() {
    for (int step = 1; step <= kLastStep; ++step) {
        for (int i = 0; i < kLoadSteps[step].imageCount; ++i) {
            const int slot = kLoadSteps[step].images[i].slot;
            // NOTE: a sheet that did not load at the sharper level (missing or damaged, told to the player as it
            // loaded) leaves the slot empty, as a load at that level would.
            p_EmptySlot(slot);
            m_images[slot] = m_sharpImages[slot];
            m_sharpImages[slot] = nullptr;
            for (int k = 0; k < 3; ++k) m_imageInfo[slot * 3 + k] = m_sharpInfo[slot * 3 + k];
        }
    }
    m_hdLevel = m_sharpLevel;
    m_imageScale = 1.0f / static_cast<float>(m_hdLevel);
    m_sharpLevel = 0;
    kp_graphics_ShowingArtLevel(m_hdLevel);
}

void c_MyApp::p_DropSharperArt() {
    for (int slot = 0; slot < kImageSlots; ++slot) {
        if (!m_sharpImages[slot]) continue;
        kp_graphics_DiscardImage(m_sharpImages[slot].Get());
        m_sharpImages[slot] = nullptr;
    }
    m_sharpLevel = 0;
}
