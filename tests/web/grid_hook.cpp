// For the browser tests only, linked into the test program (quorlix-test.js) and never into the site's: what a
// player sees of the game, read and never written, so a test playing through the page can look at the grid as a
// person looks at the screen. Answers one JSON text: the screen state, the puzzle's word and counter, whether
// every letter is at rest, the 13 x 13 letters, where each cell's letter lies on the canvas (device pixels), the
// virtual screen and its scale (so a test can touch what the game draws at a virtual point), where the overlays
// and the wheel stand, the length of the drawing toy's second arm, and the result lists (each group's best, and its
// last results newest first).
// Depends on the application object and the game's globals.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "framework/app/app.h"
#include "game/myapp.h"
#include "game/play_slots.h"
#include "game/search.h"

extern "C" EMSCRIPTEN_KEEPALIVE const char* quorlix_test_view() {
    static std::string json;
    auto* app = static_cast<c_MyApp*>(kp_app__app);
    json = "{";
    if (!app) return "{}";
    auto field = [&](const char* name, const std::string& value) {
        if (json.size() > 1) json += ",";
        json += std::string("\"") + name + "\":" + value;
    };
    field("state", std::to_string(app->m_state));
    field("loading", std::to_string(app->m_loadStep));
    field("paused", std::to_string(app->m_paused));
    field("optionsOpen", std::to_string(app->m_optionsOpen));
    field("puzzleDone", std::to_string(app->m_puzzleDone));
    field("finishTimer", std::to_string(app->m_finishTimer));
    field("gaveUp", std::to_string(app->m_gaveUp));
    field("menuSel", std::to_string(app->m_menuSel));
    field("gameNum", std::to_string(app->m_gameNum));
    field("hdLevel", std::to_string(app->m_hdLevel));
    field("sharpening", "[" + std::to_string(app->m_sharpLevel) + "," + std::to_string(app->m_sharpStep) + "]");
    field("fullscreen", std::to_string(app->m_fullscreen));
    field("soundLevel", std::to_string(app->m_settings[6]));
    field("selection", std::to_string(static_cast<int>(app->m_player[play::kState])));
    field("pauseChoice", std::to_string(app->m_pauseChoice));
    field("pauseCursor", std::to_string(app->m_pauseCursor));
    field("pausePanelY", std::to_string(app->m_pausePanelY));
    field("toyArm", std::to_string(app->m_toyArm));
    field("optionsSlide", std::to_string(app->m_optionsSlide));
    field("optionCursor", std::to_string(app->m_optionCursor));
    field("menuSlide", std::to_string(app->m_menuSlide));
    // The wheel's centre in virtual units, and whether it has come to rest at its target.
    const bool wheelSettled = std::fabs(app->m_wheelAngle - app->m_wheelTarget) < 0.5f;
    field("wheel", "{\"x\":" + std::to_string(app->m_wheelX) + ",\"y\":" + std::to_string(app->m_wheelY) +
                       ",\"settled\":" + (wheelSettled ? "true" : "false") + "}");
    // The virtual screen and the device pixels per virtual unit.
    field("screen", "{\"w\":" + std::to_string(kp_Search_jscrw) + ",\"h\":" + std::to_string(kp_Search_jscrh) +
                        ",\"scale\":" + std::to_string(app->m_scaleX) + "}");
    field("word", "\"" + app->m_word.ToUtf8() + "\"");
    field("counter", std::to_string(static_cast<int>(app->m_player[play::kWordCounter])));
    bool settled = true;
    std::string letters = "[";
    for (int y = 0; y < play::kGridSide; ++y) {
        letters += y ? ",\"" : "\"";
        for (int x = 0; x < play::kGridSide; ++x) {
            // NOTE: a grid not yet laid (in the menu) holds code 0, which would end the answer early.
            const int code = static_cast<int>(app->m_grid[play::Cell(x, y)]);
            letters += code > 32 && code < 127 && code != '"' && code != '\\' ? static_cast<char>(code) : '.';
            settled = settled && app->m_grid[c_MyApp::kGridOffsets + play::Cell(x, y)] == 0;
        }
        letters += "\"";
    }
    field("settled", settled ? "true" : "false");
    field("rows", letters + "]");
    // Where a cell's letter is drawn, as the play screen lays the grid out, in the canvas's pixels.
    const float w = kp_Search_jscrw, h = kp_Search_jscrh;
    const float cs = std::min((w - 32) / 13, (h - 32) / 13);
    const float left = std::trunc(w / 2 - 6 * cs + cs / 4);
    const float top = std::trunc(h / 2 - (app->m_landscape ? 6 : 7) * cs);
    field("grid", "{\"left\":" + std::to_string((left - cs / 4) * app->m_scaleX) + ",\"top\":" +
                      std::to_string(top * app->m_scaleY) + ",\"cell\":" + std::to_string(cs * app->m_scaleX) + "}");
    std::string best = "[";
    for (int g = 0; g < 56; ++g) best += (g ? "," : "") + std::to_string(app->m_scores[10 * g]);
    field("best", best + "]");
    std::string last = "[";
    for (int g = 0; g < 56; ++g) {
        last += g ? ",[" : "[";
        for (int i = 0; i < 10; ++i) last += (i ? "," : "") + std::to_string(app->m_scores[5120 + 10 * g + i]);
        last += "]";
    }
    field("last", last + "]");
    json += "}";
    return json.c_str();
}
