// The puzzle catalogue's table and lookup. Depends on the runtime (String).
// NOTE: the words are stored exactly as the game has always shipped them, spellings included ("LINKEDLN" in
// "Socialising", the group "Ful of Stuff"): saved results are filed by group number, and players know these grids.
#include "game/catalogue/getaword.h"

String kp_GetAWordFunc_GroupName;
int kp_GetAWordFunc_GroupSize = 0;

namespace {

struct Group {
    const char* name;
    const char* words[6];
};

constexpr Group kGroups[] = {
    {"Tutorial", {"TUTORIAL", "ACROSS", "DOWNWARDS", "BACKWARDS", "UPWARDS", "COMPLETE"}},  // 0
    {"Training", {"LEARNING", "EASIEST", "SPOTTED", "HARDER", "DIFFICULT", "INSANITY"}},  // 1
    {"Sick of Cords", {"CORDED", "CORDLESS", "CORDUROY", "RECORDER", "RECORDED", "CORDIALLY"}},  // 2
    {"Fruit Salad", {"APPLES", "ORANGES", "GRAPES", "GRAPEFRUIT", "LEMONS", "BANANAS"}},  // 3
    {"Does it Fly?", {"CHICKEN", "DUCK", "OSTRICH", "PENGUIN", "SEAGULL", "PARROT"}},  // 4
    {"People At School", {"TEACHER", "PUPILS", "HEADTEACHER", "SECRETARY", "LIBRARIAN", "JANITOR"}},  // 5
    {"Gardening", {"LAWNMOWER", "TROWEL", "FORK", "SHOVEL", "RAKE", "SHEARS"}},  // 6
    {"Sega Systems", {"MASTERSYSTEM", "MEGADRIVE", "GENESIS", "SATURN", "DREAMCAST", "NAOMI"}},  // 7
    {"Seasick", {"BOAT", "BUOY", "SHIP", "HARBOUR", "LIGHTHOUSE", "WHARF"}},  // 8
    {"Jobs", {"TEACHER", "JUDGE", "BUTCHER", "FARMER", "DOCTOR", "TAILOR"}},  // 9
    {"Brum", {"BRAKE", "ACCELERATE", "CLUTCH", "HORN", "MIRROR", "WHEEL"}},  // 10
    {"They sold a Million", {"AMSTRAD", "SPECTRUM", "COMMODORE", "ATARI", "TANDY", "ACORN"}},  // 11
    {"Chilly", {"JUMPER", "CARDIGAN", "GLOVES", "SCARF", "LEGGINGS", "SOCKS"}},  // 12
    {"On the Ward", {"DOCTOR", "NURSE", "THERAPIST", "PRACTITIONER", "PATIENT", "VISITORS"}},  // 13
    {"Castle Master", {"CASTLE", "DUNGEON", "MOAT", "DRAWBRIDGE", "KNIGHT", "ARCHERS"}},  // 14
    {"Baby Animals", {"KITTEN", "PIGLET", "DUCKLING", "CATERPILLAR", "HATCHLING", "PUPPY"}},  // 15
    {"Trekking", {"KIRK", "MCCOY", "SPOCK", "SCOTTY", "UHURA", "CHEKOV"}},  // 16
    {"Need Input", {"KEYBOARD", "MOUSE", "JOYSTICK", "MICROPHONE", "JOYPAD", "REMOTE"}},  // 17
    {"Commanding", {"PRINT", "INPUT", "GOSUB", "FUNCTION", "CLASS", "RETURN"}},  // 18
    {"I choose you", {"PIKACHU", "SQUIRTLE", "CHARIZARD", "MEWTWO", "JIGGLYPUFF", "SNORLAX"}},  // 19
    {"Learning", {"ENGLISH", "MATHS", "SCIENCE", "GEOGRAPHY", "MUSIC", "HISTORY"}},  // 20
    {"Socialising", {"FACEBOOK", "TWITTER", "MYSPACE", "LINKEDLN", "MIITOMO", "FLICKR"}},  // 21
    {"At the Zoo", {"LION", "TIGER", "GIRAFFE", "KANGAROO", "ZEBRA", "GORILLA"}},  // 22
    {"Control", {"OPEN", "COPY", "PASTE", "CLOSE", "PRINT", "HELP"}},  // 23
    {"On my Desk", {"MARKER", "STAPLER", "ERASER", "RULER", "PAPERCLIP", "SCISSORS"}},  // 24
    {"Out on the Town", {"CINEMA", "BANK", "CHURCH", "MUSEUM", "LIBRARY", "RESTAURANT"}},  // 25
    {"Farming", {"CHICKEN", "SHEEP", "DONKEY", "ROOSTER", "GOOSE", "HORSE"}},  // 26
    {"Naughty naughty", {"BLACKMAIL", "BURGLARY", "FRAUD", "HIJACK", "THEFT", "KIDNAP"}},  // 27
    {"Pulpish", {"COMMON", "DISCO", "NIGHTMARE", "UNDERWEAR", "EVERYWHERE", "PEOPLE"}},  // 28
    {"The Band", {"GUITAR", "PIANO", "DRUMS", "BANJO", "SINGER", "BASSIST"}},  // 29
    {"A Bit of a Doo", {"SCOOBY", "SCRAPPY", "SHAGGY", "VELMA", "FRED", "DAPHNE"}},  // 30
    {"The Workbench", {"HAMMER", "JIGSAW", "ROUTER", "SCREWDRIVER", "WRENCH", "MALLET"}},  // 31
    {"Technology", {"DESKTOP", "SMARTPHONE", "TABLET", "SMARTWATCH", "LAPTOP", "STYLUS"}},  // 32
    {"Canine Companions", {"SNOOPY", "SPUNKY", "ASTRO", "DOUGAL", "PLUTO", "BRAIN"}},  // 33
    {"Timekeeping", {"CLOCK", "WATCH", "DIGITAL", "HOURGLASS", "ANALOGUE", "SUNDIAL"}},  // 34
    {"Board of Playing", {"MONOPOLY", "SCRABBLE", "CLUEDO", "MASTERMIND", "FRUSTRATION", "PICTIONARY"}},  // 35
    {"Where I live", {"HOUSE", "HOME", "BUNGALOW", "APARTMENT", "CARAVAN", "TENT"}},  // 36
    {"Gassy", {"METHANE", "BUTANE", "HELIUM", "HYDROGEN", "OXYGEN", "PROPANE"}},  // 37
    {"Continental", {"AFRICA", "AMERICA", "ANTARCTICA", "ASIA", "AUSTRALIA", "EUROPE"}},  // 38
    {"Creepy", {"SPIDER", "SNAKE", "PUMPKIN", "WITCH", "DRACULA", "ZOMBIE"}},  // 39
    {"Unreal", {"DRAGON", "MARTIAN", "NESSIE", "PHOENIX", "VAMPIRE", "UNICORN"}},  // 40
    {"Less Stuff", {"ENDLESS", "RESTLESS", "USELESS", "CARELESS", "HELPLESS", "HOPELESS"}},  // 41
    {"Ful of Stuff", {"PLAYFUL", "RIGHTFUL", "HELPFUL", "BEAUTIFUL", "CAREFUL", "USEFUL"}},  // 42
    {"Caught in the Act", {"POLICE", "JAIL", "JUDGE", "JURY", "GUILTY", "PRISON"}},  // 43
    {"Gameboy Greats", {"MARIO", "ZELDA", "METROID", "POKEMON", "TETRIS", "KIRBY"}},  // 44
    {"Wet Things", {"MILK", "WATER", "GREASE", "JUICE", "SOUP", "COFFEE"}},  // 45
    {"What lies beneath", {"HEART", "LUNGS", "KIDNEYS", "STOMACH", "MUSCLES", "BONES"}},  // 46
    {"Olympic Challenge", {"ATHLETICS", "GYMNASTICS", "EQUESTRIAN", "AQUATICS", "DECATHLON", "BOXING"}},  // 47
    {"I say, You say", {"TOMATO", "BATH", "EITHER", "DIVERSE", "ALUMINIUM", "ENVELOPE"}},  // 48
    {"Orchestral", {"VIOLIN", "CELLO", "FLUTE", "XYLOPHONE", "PIANO", "PERCUSSION"}},  // 49
    {"Ouchie", {"FRACTURE", "BLISTER", "SCRATCH", "SPRAIN", "DISLOCATION", "BRUISE"}},  // 50
    {"At School", {"CLASSROOM", "LIBRARY", "LUNCHROOM", "PLAYGROUND", "LABORATORY", "GYMNASIUM"}},  // 51
    {"Time and Space", {"DOCTOR", "TARDIS", "COMPANION", "DALEKS", "CYBERMEN", "SCREWDRIVER"}},  // 52
    {"What it's made of", {"CARDBOARD", "WOOD", "FABRIC", "MARBLE", "FOAM", "PLASTIC"}},  // 53
    {"The Burning Question", {"FLAME", "FIRE", "SMOKE", "ARSONIST", "VICTIM", "BURNS"}},  // 54
    {"Feline Favourites", {"GARFIELD", "HEATHCLIFF", "NERMAL", "FELIX", "SYLVESTER", "STIMPY"}},  // 55
    {"Geometry", {"TRIANGLE", "SQUARE", "PENTAGON", "HEXAGON", "OCTAGON", "CIRCLE"}},  // 56
};
constexpr int kGroupCount = static_cast<int>(sizeof kGroups / sizeof kGroups[0]);
static_assert(kGroupCount == 57, "the catalogue holds 57 groups");

}  // namespace

String kp_GetAWordFunc_GetAWord(int group, int word) {
    kp_GetAWordFunc_GroupSize = 6;
    if (group < 0 || group >= kGroupCount) return String();
    kp_GetAWordFunc_GroupName = String(kGroups[group].name);
    // Truncating division: the remainder takes the sign of word, and every remainder but 0..4 picks word 5.
    const int remainder = word % kp_GetAWordFunc_GroupSize;
    return String(kGroups[group].words[remainder >= 0 && remainder <= 4 ? remainder : 5]);
}

void kp_GetAWordFunc_Init() {
    kp_GetAWordFunc_GroupSize = 6;
    kp_GetAWordFunc_GroupName = String("Group");
}
