// c_MyApp, backdrop and stars: the eased background colour the menus start their frames with, and the drifting
// star field behind the grid in play, recorded straight into the draw list.
// Depends on the draw list (the frame start and its records), grid generation's seeding, the random module and
// the game module's virtual screen size and overscan.
// NOTE: both star routines reseed the one generator from the clock, so during play the sequence restarts from the
// clock once per frame.
#include <cmath>

#include "framework/app/app.h"
#include "framework/random/random.h"
#include "game/myapp.h"
#include "game/search.h"

namespace {

constexpr int kStarSlot = 96;
constexpr int kStarFields = 10;
// Fields of a star.
constexpr int kFrame = 0, kX = 1, kY = 2, kShare = 3, kAngle = 5, kSpin = 6;
// Below this a colour argument keeps the channel's target; this alpha means fully opaque.
constexpr int kKeepChannel = -122;
constexpr float kOpaque = -123.0f;

float FrameDraw() { return std::floor(kp_random_Rnd() * 255.99f); }
float ShareDraw() { return 0.2f + 0.6f * kp_random_Rnd(); }
float AcrossDraw(float side) { return kp_random_Rnd() * (side + 16.0f) - 8.0f; }

float EaseChannel(float& current, float& target, int wanted) {
    if (wanted >= kKeepChannel) target = static_cast<float>(wanted);
    current -= (current - target) * 0.125f;
    return current;
}

}  // namespace

int c_MyApp::p_DoBG(int red, int green, int blue, float alpha) {
    EaseChannel(m_bgRed, m_bgTargetRed, red);
    EaseChannel(m_bgGreen, m_bgTargetGreen, green);
    EaseChannel(m_bgBlue, m_bgTargetBlue, blue);
    if (alpha == kOpaque) alpha = 1.0f;
    else alpha = alpha < 0.0f ? 0.0f : (alpha > 1.0f ? 1.0f : alpha);
    p_CLS2D(m_bgRed, m_bgGreen, m_bgBlue, alpha);
    return 0;
}

int c_MyApp::p_ResetStars(int count) {
    p_SeedRnd(kp_app_Millisecs());
    if (count >= 1 && count <= 499) {
        m_starCount = count;
    } else {
        count = m_starCount;
        if (count < 0) return 0;
    }
    const float w = kp_Search_jscrw, h = kp_Search_jscrh;
    for (int i = 0; i <= count; ++i) {
        float* star = &m_stars[i * kStarFields];
        star[kFrame] = FrameDraw();
        star[kX] = AcrossDraw(w);
        star[kY] = AcrossDraw(h);
        star[kShare] = ShareDraw();
        star[kAngle] = 360.0f * kp_random_Rnd();
        star[kSpin] = kp_random_Rnd() - 0.5f;
    }
    return 0;
}

int c_MyApp::p_DoStars(float dx, float dy) {
    p_SeedRnd(kp_app_Millisecs());
    p_ResetDraw();
    const float w = kp_Search_jscrw, h = kp_Search_jscrh, o = kp_Search_overscan;
    const float margin = o + 16.0f;
    const float wrapWidth = w + 2.0f * o + 32.0f, wrapHeight = h + 2.0f * o + 32.0f;
    // NOTE: at most 500 stars; the field holds room for 510.
    const int last = m_starCount < m_stars.Length() / kStarFields ? m_starCount : m_stars.Length() / kStarFields - 1;
    for (int i = 0; i <= last; ++i) {
        float* star = &m_stars[i * kStarFields];
        star[kX] += dx * star[kShare];
        star[kY] += dy * star[kShare];
        // A star that leaves one side comes back on the other as a new star: another place across, brightness
        // and sprite.
        auto reappearAcross = [&](int across, float side) {
            star[across] = AcrossDraw(side);
            star[kShare] = ShareDraw();
            star[kFrame] = FrameDraw();
        };
        if (star[kX] < -margin) {
            star[kX] += wrapWidth;
            reappearAcross(kY, h);
        }
        if (star[kX] > w + margin) {
            star[kX] -= wrapWidth;
            reappearAcross(kY, h);
        }
        if (star[kY] < -margin) {
            star[kY] += wrapHeight;
            reappearAcross(kX, w);
        }
        if (star[kY] > h + margin) {
            star[kY] -= wrapHeight;
            reappearAcross(kX, w);
        }
        star[kAngle] += star[kSpin];

        // Recorded directly, as an image record in white at the star's own alpha: a hundred stars a frame do not
        // go through the draw-state calls.
        if (m_drawCount > kLastRecordStart) continue;
        float* record = &m_drawList[m_drawCount];
        m_drawCount += kRecordFloats;
        record[0] = static_cast<float>(kStarSlot);
        record[1] = star[kX];
        record[2] = star[kY];
        record[3] = -star[kAngle];
        record[4] = record[5] = 1.0f;
        record[6] = star[kFrame];
        record[7] = star[kShare];
        record[10] = record[11] = record[12] = 255.0f;
        record[13] = static_cast<float>(m_drawBlend);
    }
    p_ResetDraw();
    return 0;
}
