// The game module's globals and their start values, with the credit lines of the menu's side panel.
#include "game/search.h"

int kp_Search_UseHDImages = 0;
int kp_Search_DebugMode = 0;
float kp_Search_rawscrw = 0, kp_Search_rawscrh = 0;
float kp_Search_jscrw = 0, kp_Search_jscrh = 0;
float kp_Search_overscan = 0;
int kp_Search_HasMusicStream = 0;
Array<String> kp_Search_MenuSet;
Array<String> kp_Search_CreditText;

namespace {
// Blank lines are empty texts, sections are separated by "-=-=-", and the last line is "End".
const char* const kCreditLines[] = {
    "Quorlix",
    "",
    "A word search",
    "for the patient eye",
    "",
    "-=-=-",
    "",
    "Design",
    "The Quorlix Team",
    "",
    "Programming",
    "The Quorlix Team",
    "",
    "Art and Sound",
    "Made by our own tools",
    "from source, at build time",
    "",
    "-=-=-",
    "",
    "How to play",
    "Pick a group on the wheel",
    "Find each word in turn",
    "Choose its first letter",
    "then point the way it runs",
    "The rest fills in by itself",
    "",
    "Every letter in the grid",
    "comes from the word itself",
    "so look twice!",
    "",
    "-=-=-",
    "",
    "Controls",
    "Mouse: press and drag",
    "Keys: arrows and Z",
    "X cancels, C changes colours",
    "Escape pauses",
    "Pads: stick, pad and buttons",
    "",
    "-=-=-",
    "",
    "Built with",
    "GLFW, OpenAL Soft",
    "stb_image and stb_vorbis",
    "cairo and DejaVu fonts",
    "",
    "-=-=-",
    "",
    "Thank you",
    "for playing",
    "",
    "Have a go at all",
    "fifty-six groups",
    "",
    "-=-=-",
    "",
    "End",
};
}  // namespace

void kp_Search_Init() {
    kp_Search_UseHDImages = 1;
    kp_Search_DebugMode = 0;
    kp_Search_rawscrw = 640.0f;
    kp_Search_rawscrh = 480.0f;
    kp_Search_jscrw = 640.0f;
    kp_Search_jscrh = 480.0f;
    kp_Search_overscan = 0.0f;
    kp_Search_HasMusicStream = 0;
    kp_Search_MenuSet = Array<String>{String("Easy"),   String("Easiest mode\nNice and Easy."),
                                      String("Normal"), String("Just right!\nTough, but not hard."),
                                      String("Hard"),   String("Maybe TOO hard!\nIf you like it like that")};
    constexpr int count = static_cast<int>(sizeof kCreditLines / sizeof kCreditLines[0]);
    static_assert(count == 57, "the side panel scrolls 57 credit lines");
    kp_Search_CreditText = Array<String>(count);
    for (int i = 0; i < count; ++i) kp_Search_CreditText[i] = String(kCreditLines[i]);
}
