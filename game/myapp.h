// c_MyApp: the whole game as one application object.
// Depends on the framework (the app module, and the devices through their module functions).
// The host calls its five hooks; p_OnUpdate runs the routine of the current screen, which records what it
// wants shown into the draw list, and p_OnRender replays that list. The fields are grouped by the screen or
// subsystem that owns them, and each group's methods live in the source file its heading names.
// NOTE: every array is allocated once, in the constructor, at its fixed length, and never replaced.
#pragma once

#include "framework/app/app.h"
#include "framework/graphics/graphics.h"
#include "framework/audio/audio.h"
#include "runtime/array.h"
#include "runtime/string.h"

class c_MyApp : public c_App {
public:
    c_MyApp();

    // ---- Hooks, screen dispatch and the virtual screen (myapp.cpp) ----
    int p_OnCreate() override;
    int p_OnUpdate() override;
    int p_OnRender() override;
    int p_OnSuspend() override;
    int p_OnResume() override;
    // Fits the virtual screen to a device size: scales, virtual size, orientation. A zero side changes nothing.
    void p_FitScreen(int devWidth, int devHeight);
    // Pointer and touch slots in virtual units, from the input device.
    void p_ReadPointer();
    // The latch rules of each update.
    void p_UpdateLatches();
    // The pause fields on suspend and resume.
    void p_ApplySuspendPause();

    int m_state = 0;                        // screen state: 1 menu, 2 back to menu, 10 play, 11 preparing
    int m_loadStep = 0;                     // loading step; 0 when not loading
    int m_lastDevWidth = 0, m_lastDevHeight = 0;
    int m_renderLastMs = 0, m_renderFps = 0, m_renderFpsAvg = 0;
    int m_updateLastMs = 0, m_updateFps = 0, m_updateFpsAvg = 0;
    float m_scaleX = 0, m_scaleY = 0;       // device pixels per virtual unit
    int m_landscape = 0;
    int m_mouseX = 0, m_mouseY = 0;         // pointer in virtual units
    int m_pointerDown = 0;
    Array<int> m_touchDown, m_touchX, m_touchY;  // 10 touch slots; a free slot holds -3717, -3717
    int m_pointerLatch = 0;
    int m_keyLatch = 0;
    int m_debugFlag2 = 0;                   // F2: play hides its labels and word list

    // ---- Window (fullscreen.cpp) ----
    // Toggles between a desktop-sized fullscreen window and the 640 by 480 window.
    int p_FullscreenFlip();

    int m_fullscreen = 0;

    // ---- Draw list (drawlist.cpp) ----
    // Recording: one 15-float record with the current draw state; refused once the list holds 2499 records.
    int p_DrawImg(int slot, float x, float y, float frame);
    int p_Rect(float x, float y, float width, float height);
    // A filled ellipse centred on (x, y).
    int p_Oval(float x, float y, float radiusX, float radiusY);
    int p_Line(float x1, float y1, float x2, float y2);
    // A filled triangle; stored in the order 3, 2, 1 when x1 > x2 or x3 > x2.
    int p_Tri(float x1, float y1, float x2, float y2, float x3, float y3);
    // Draw state. -3717 for alpha keeps the alpha; -3717 for sy gives a uniform scale.
    int p_SetCol(float red, float green, float blue, float alpha);
    int p_Alpha(float alpha);
    // Stores -angle as the image rotation.
    int p_SetRot(float angle);
    int p_SetSize(float sx, float sy);
    // Colour from the nine-entry palette times brightness x 255, clamped; alpha is left alone.
    int p_Ink(int index, float brightness);
    // Resets the draw state: scale 1, rotation 0, white, alpha 1, blend 1.
    int p_ResetDraw();
    // Starts a frame: sets the clear colour (when red > -3717), resets the draw state, empties the list.
    int p_CLS2D(float red, float green, float blue, float alpha);
    // Clears the window in the clear colour and leaves white at alpha 1 (render pass, before fitting).
    void p_ClearScreen();
    // Replays the draw list at the fitted scale, offset by the overscan (render pass).
    void p_ReplayDrawList(float offsetX, float offsetY);
    // Leaves the drawing state the render pass ends with: white at alpha 0.5.
    void p_EndRenderState();

    // Records in the draw list so far.
    int p_DrawRecordCount() const { return m_drawCount / kRecordFloats; }

    static constexpr int kRecordFloats = 15;
    // A record is accepted while the write index is at most this: 2499 records, not the 2500 the array could hold.
    static constexpr int kLastRecordStart = 37484;

    Array<float> m_drawList = Array<float>(37500);  // 15-float records packed from 0
    int m_drawCount = 0;                    // floats in use in the draw list (15 per record)
    float m_drawScaleX = 0, m_drawScaleY = 0;  // image scale
    float m_drawRotation = 0;               // image rotation, degrees as stored
    float m_drawRed = 0, m_drawGreen = 0, m_drawBlue = 0;  // 0..255
    float m_drawAlpha = 0;                  // 0..1
    int m_drawBlend = 0;                    // 3 means additive
    Array<float> m_clearColor = Array<float>(4);  // red, green, blue (0..255), alpha (0..1) of the clear
    Array<float> m_triPoints = Array<float>(6);   // the replay's triangle, reused so records never allocate

    // ---- Text, buttons and hit tests (text.cpp) ----
    // Records text glyph by glyph from font slot m_font + fontOffset. alignX 0, 1, 2: start, centre or end at
    // x; alignY 0, 1, 2: top, middle or bottom at y. "¬" and a letter draw an icon; backslash and n break the line.
    int p_Text(float x, float y, const String& text, float alignX, float alignY, int fontOffset);
    // The width p_Text measures text at (what its alignment shifts by) in a font of the given advance and scale.
    float p_TextWidth(const String& text, float advance, float scale) const;
    // The draw scale at which text in the current font reaches no further than room units from where it starts:
    // scale itself on a landscape screen, or where it fits; smaller on an upright screen that would cut it off.
    float p_FitUpright(const String& text, float scale, float room) const;
    // The decimal text of value, padded on the left with pad and cut to its last width characters.
    String p_rstr(int value, int width, const String& pad);
    // Records the image and answers 1 (also left in m_buttonHit) while a pointer is down inside it.
    int p_Button(int slot, float x, float y, int frame);
    // 1 when a held touch lies strictly inside the rectangle with its top-left corner at (x, y).
    int p_MouseIn(float x, float y, float w, float h);
    // 1 when a held touch lies strictly inside the rectangle centred on (cx, cy).
    int p_MouseIn_Centered(float cx, float cy, float w, float h);
    // 1 when a held touch lies within the circle about (cx, cy) whose radius reaches the box's corner.
    int p_MouseIn_Radius(float cx, float cy, float w, float h);
    // Records the rectangle and answers 1 for a held touch inside it with a margin of 6 before and 12 after.
    int p_Touch(float x, float y, float w, float h);

    int m_font = 0;                         // image slot of the current font
    int m_controlMode = 0;                  // 0 keyboard, 1 controller (blinking icons), 2 pointer
    int m_buttonHit = 0;                    // the answer of the last p_Button

    // ---- Loading screen and image slots (loader.cpp) ----
    // The art level for a device size: the largest whose side the longer side reaches (game/art_levels.h) of
    // those whose art has arrived; always 1 when the game is set to use no large art.
    int p_ArtLevelFor(int devWidth, int devHeight) const;
    // Notes which art levels have arrived from the host (m_artHere).
    void p_LookForArt();
    // The art level (and the scale that keeps art at its virtual size) for the device size.
    void p_ChooseArtLevel();
    // Empties an image slot, giving its image's pixels and texture up at once.
    void p_EmptySlot(int slot);
    // Loads image slot from name at the art level; the slot is left empty when the file does not load.
    int p_LoadImg(int slot, const String& name, int width, int height, int frames, int flags);
    // Loads a 128-glyph font into slot at the art level and makes it the current font.
    int p_LoadFont(int slot, const String& name, int advance, int lineHeight);
    // Starts loading: black clear colour, the art level, the logo and the loading-screen font, step 1.
    int p_Reload();
    // Loads the loading screen's logo and font if they are still to load and the host has them ready; whether
    // they are loaded.
    bool p_LoadLoadingArt();
    // One loading step (images and sounds), then the loading screen.
    int p_Loader();
    // Loads the images and the sound cue of one loading step.
    void p_LoadStepFiles(int step);
    // Asks for the image files of the loading steps from fromStep on, at an art level, to be read and decoded
    // ahead while the loading screen turns; from step 0, the loading screen's logo and font come first.
    void p_DecodeAhead(int fromStep, int level);
    // Records the loading screen (mode 1): three turning rings of dots, the maker's logo and "Loading...".
    int p_WaitStart(int mode);
    // Does nothing: every image and sound is loaded by the steps of p_Loader.
    int p_BankLoad();

    int m_jinglePlayed = 0;                 // the start jingle has played this run
    int m_aheadLevel = 0;                   // art level the files decoded ahead are of; 0 before any
    Array<StrongRef<c_Image>> m_images;     // 100 image slots named by draw-list records
    Array<int> m_imageInfo;                 // per slot: cell width, cell height, frames (fonts: advance, line)
    int m_hdLevel = 1;                      // art level 1, 2 or 4: the art's pixels per virtual unit
    float m_imageScale = 1.0f;              // 1, 0.5 or 0.25 by art level, so art keeps its virtual size
    int m_artHere = ~0;                     // bit 1 << level set for each art level whose files have arrived
    int m_loadingArtDue = 0;                // 1 while the loading screen's logo and font wait to be loaded
    int m_spinAngle = 0;                    // the loading screen's rings, degrees; 3 more each loading update
    int m_spinRadius = 0;                   // the smaller side of the virtual screen, whole units

    // ---- Sharper art while the game runs (sharper_art.cpp) ----
    // Each update: once a sharper level of art than the one shown has arrived for the window, loads its sheets
    // behind the screens, one loading step per update as the host has them ready, and then puts them all in
    // their slots at once; a load that begins meanwhile drops them.
    void p_SharpenArt();
    // Loads one loading step's sheets at the sharper level, beside the slots.
    void p_LoadSharperStep(int step);
    // Puts every sheet of the sharper level in its slot, and the level in use.
    void p_ShowSharperArt();
    // Gives up the sharper art loaded so far.
    void p_DropSharperArt();

    int m_sharpLevel = 0;                   // the sharper art level being loaded; 0 when none
    int m_sharpStep = 0;                    // the next loading step it loads
    Array<StrongRef<c_Image>> m_sharpImages;  // its sheets by the slots they will go to
    Array<int> m_sharpInfo;                 // and their info, as m_imageInfo

    // ---- Control actions (controls.cpp) ----
    // 1 when control action is held for pad (keys, the pad's slot, and with useStick 1 the first stick).
    int p_PlayKey(int action, int useStick, int pad);
    // p_PlayKey summed over pads 0 to 3; a held key counts once per pad.
    int p_PlayKeyAll(int action, int useStick);
    // The pad's stick x; 0 for a negative pad.
    float p_StickX(int index, int pad);
    // The pad's stick y in the sense the stick setting asks for; 0 for a negative pad.
    float p_StickY(int index, int pad);

    // ---- Sound cues (sound.cpp) ----
    // Fills the cue channel rotation with the device's channels 0..32 (once the settings are loaded).
    void p_InitSfxChannels();
    // The file of a cue slot: "sfx/" and the cue number in three or more digits, then ".wav".
    String p_SfxFile(int cue);
    // (Re)loads cue slot 0..99 from its file; a missing or unreadable file leaves the slot empty.
    int p_LoadSFX(int cue);
    // Fires one cue on the next channel of the rotation, scaled by the player's sound level.
    int p_PlaySFX(int cue, float rate, float volume, float pan);
    // The tune operations: they do nothing while kp_Search_HasMusicStream is 0, as in this build.
    int p_PlayTune(const String& name, int flags);
    int p_StopTune();

    Array<StrongRef<c_Sound>> m_sounds;     // cue slots 0..99; null: empty
    Array<int> m_sfxChannels;               // the device channel of each rotation position
    int m_sfxChannelIndex = 0;              // the rotation position last used
    String m_currentTune;                   // the tune last asked for
    int m_musicOn = 0;                      // 1 while a tune plays

    // ---- Progress record (record.cpp) ----
    // The record text of the settings, badges and result lists.
    String p_RecordText();
    int p_Save();
    int p_Load();

    Array<int> m_settings;                  // 25 settings
    Array<bool> m_badges;                   // 256 badge flags
    Array<int> m_scores;                    // best results at 10g.., last results at 5120 + 10g..

    // ---- Main menu (menu.cpp; the wheel in menu_wheel.cpp, the strip and side panel in menu_panel.cpp) ----
    // One update of the main menu: the wheel of groups, the strip with the play button, the side panel of credits.
    int p_Menu();
    // Files the finished puzzle's result into its group's best and last lists, and saves.
    int p_LoadMenu();

    int m_menuSel = 0;                      // the selected group, 0..55
    int m_menuFocus = 1;                    // 0 the options cog, 1 the wheel, 2 the side strip
    int m_menuSlide = 0;                    // the entry slide: -32 rising to 0
    float m_wheelTarget = 0;                // the angle the wheel settles at: -32 per group
    float m_wheelAngle = 0;
    float m_wheelSpin = 0;                  // flick speed, degrees per update
    int m_wheelTapped = 0;                  // a tap has just chosen another group
    int m_dragX = -1, m_dragY = -1;         // the pointer at the previous drag step; -1 when no drag
    float m_cogAngle = 0;                   // the options cog, 0..360 (shared with the options box)
    int m_wheelX = 0, m_wheelY = 0;         // the wheel's centre
    float m_panelWidth = 0;                 // the strip's visible width
    float m_creditScroll = 0;
    int m_creditLine = 0;                   // the first credit line shown
    int m_sidePanelOpen = 0;
    float m_sidePanelX = 0;

private:
    void p_BeginMenuFrame();                // 1
    void p_SlideMenuIn();                   // 2
    void p_QuitOnBack();                    // 3
    void p_DrawLogoAndStrip();              // 4
    void p_DrawWheel();                     // 5
    void p_SpinWheel();                     // 5: flick decay and the easing to the target
    void p_DrawHubAndCog();                 // 5: hub, cog layers (a press opens the options) and ring
    void p_DragWheel();                     // 5
    void p_DrawGroups();                    // 5: the seven entries, the pointer line, the end stops, taps
    void p_DrawMakerLogo();                 // 4, recorded after the wheel
    void p_ReadMenuKeys();                  // 6
    void p_ActivateFocus();                 // 8
    void p_DrawSidePanel();                 // 9
    // Asks step 8 to act on the focus this update.
    void p_RequestActivation() { m_menuActivate = true; }
    // Nothing lies over the menu: neither the options box nor the side panel.
    bool p_MenuClear() const { return m_optionsOpen == 0 && m_sidePanelOpen == 0; }

    bool m_menuActivate = false;            // an activation asked for this update

public:
    // ---- Options box (options.cpp) and pause menu (pause.cpp) ----
    // One update of the options box: the sliding panel, the back cog and the four rows of settings.
    int p_OptionBox();
    // One update of the pause menu over a paused puzzle: resume, quit to the menu, options, and the drawing toy.
    int p_PauseMenu();

    int m_optionsOpen = 0, m_optionsSlide = 0;  // the box is open; its slide 0..30
    int m_optionCursor = 0;                 // highlighted row: 0 the back cog, 1..4 the settings
    int m_boxKeyLatch = 0, m_boxPointerLatch = 0;  // the box's own latches for controls and pointer
    int m_paused = 0;                       // 1 while the pause menu runs over a puzzle
    int m_pauseChoice = 0;                  // 1 while the pause panel slides in, -1 while it slides out
    int m_pausePanelY = 0;                  // the pause panel's position; -64 when hidden
    int m_pauseCursor = 0;                  // highlighted pause entry: -1 quit, 0 resume, 1 options
    float m_toyAngle1 = 0, m_toyAngle2 = 0, m_toyHue = 0;  // the drawing toy's arms and colour cycle, degrees
    float m_toySpeed = 25.0f;               // the second arm's turn per update, 0..128
    float m_toyArm = 25.0f;                 // the second arm's length
    Array<float> m_toyTrail = Array<float>(204);  // the pen's last 102 positions, x and y, oldest first
    bool m_toyTrailSeeded = false;          // the trail has been drawn in this run
    float m_toyTrailCentre[2] = {0, 0};     // the toy's centre when the trail was last started

private:
    void p_DrawOptionsPanel();              // 2
    void p_DrawBackCog();                   // 3
    void p_DrawOptionRows();                // 5
    void p_ReadOptionControls();            // 6
    void p_ReleaseBoxLatches();             // 7
    // Closes the box and saves the settings it changed.
    void p_CloseOptions();
    // Draws the options cog's three layers at (x, y), the last through p_Button; answers its hit.
    int p_DrawCog(float x, float y, float scale);

    void p_MovePausePanel();                // 3
    void p_PlayWithToy();                   // 4
    void p_DrawPauseEntries();              // 6
    void p_ResumeFromPause();
    void p_QuitFromPause();

public:
    // ---- Backdrop and stars (stars.cpp) ----
    // Starts a frame in the background colour eased an eighth of the way to its target. A channel of -123 or less
    // keeps its target; an alpha of -123 means 1.
    int p_DoBG(int red, int green, int blue, float alpha);
    // Places stars 0..count anew from a clock seed; a count outside 1..499 keeps the current number of stars.
    int p_ResetStars(int count);
    // Drifts every star by (dx, dy) times its share, wraps it round the screen's margin and records it.
    int p_DoStars(float dx, float dy);

    float m_bgRed = 0, m_bgGreen = 0, m_bgBlue = 0;  // background colour now and its target, 0..255 each
    float m_bgTargetRed = 0, m_bgTargetGreen = 0, m_bgTargetBlue = 0;
    Array<float> m_stars = Array<float>(5100);  // 10 per star: frame, x, y, share (alpha), -, angle, spin
    int m_starCount = 100;                  // the number of the last star: stars 0..m_starCount are shown
    int m_particleCount = 250;

    // ---- Grid generation (grid.cpp) ----
    // Seeds the generator: the seed (or, for -37171650, the clock) advanced 21 steps.
    int p_SeedRnd(int seed);
    // A whole number from low to high inclusive, from one draw.
    int p_Rand(float low, float high);
    // Moves on to the next word of group and lays it out: a fresh clock seed, the filling from the word's own
    // letters, the word written once in one of four directions.
    int p_Jumble(int group);
    int p_ResetGrid();
    int p_ResetPlayers();
    // Everything a new puzzle clears: grid, stars, play values, pause and the finishing panel.
    int p_FlushGame();
    // Starts a puzzle for m_gameNum and moves to play.
    int p_LoadGame();

    // m_grid planes, each indexed y * 16 + x: letter codes, drawing offsets (negative dropping in, positive
    // falling away), and the speeds that move the offsets.
    static constexpr int kGridLetters = 0, kGridOffsets = 1000, kGridSpeeds = 2000;
    static constexpr int kGridPlanesEnd = 3000;  // nothing at or past this index is ever written
    Array<float> m_grid = Array<float>(5000000);
    String m_word;                          // the word in play
    int m_wordNum = 0;                      // its number in the group; the puzzle's result once it ends
    Array<int> m_wordCodes = Array<int>(20);  // its character codes
    int m_wordLast = 0;                     // its length minus one
    int m_puzzleDone = 0;                   // 1 once the puzzle has ended, by completion or by giving up
    Array<String> m_wordList = Array<String>(10);  // 0 the group's name, 1..6 its words ("???" until reached)
    int m_gameNum = 0;                      // the group played plus one
    Array<float> m_player;                  // per-puzzle play values by slot (the slots are named in play.cpp)

    // ---- Play (play.cpp; the grid pass in play_grid.cpp, the selection in play_selection.cpp, the word in
    // play and the word list in play_words.cpp) ----
    // One play update: the twenty steps of a frame, from the word list entry to the word list.
    int p_Game();
    // The pause control of play, run after p_Game and also while paused.
    int p_InGame();

    Array<int> m_selCodes = Array<int>(20);  // letters under the selection: 0 the start, k the k-th cell on
    int m_offsetMax = 0;                    // the greatest drawing offset of the grid this frame, whole units
    float m_starScrollX = 0, m_starScrollToX = 0;  // star-scroll easing, value and target (both 0 in play)
    float m_starScrollY = 0, m_starScrollToY = 0;

private:
    void p_EnterWordInList();               // 1
    void p_BeginPlayFrame();                // 2: the scheme's pulsing background and the frame start
    void p_DrawSchemeLabel();               // 3
    void p_ToggleScheme();                  // 4
    void p_DriftStars();                    // 5
    void p_MeasureGrid();                   // 6
    void p_DropStartOnRelease();            // 7
    bool p_HintShown() const;               // 8
    void p_DrawSelection();                 // 9
    void p_DrawGridPass(bool hint);         // 10
    void p_PointAtCell(int x, int y);       // 10.5: a held pointer over a cell starts or aims the selection
    void p_LayOutNextWord();                // 11
    bool p_GridFrozen() const;              // a completed puzzle's grid takes no selection (10.5 and 13)
    void p_MoveCursor();                    // 12
    void p_CancelOrSelect();                // 13
    void p_MatchSelection();                // 14
    void p_GrowSelection();                 // 15
    void p_DrawWordInPlay();                // 16
    void p_CueLanding();                    // 17
    void p_DrawWordList();                  // 19
    // Fires a cue at a random rate of 0.7 up to 1.3 (the selection's ticks and the letters' landing).
    void p_PlayTick(int cue);

    // This frame's grid geometry and what the grid pass saw (set by steps 2, 6 and 10).
    float m_cellSize = 0;
    float m_gridLeft = 0, m_gridTop = 0;
    int m_letterSlot = 11;                  // image slot of the letters: 10 on the dark scheme, 11 on the light
    bool m_letterLanded = false;
    bool m_allBelow = false;

public:
    // ---- Finishing panel (gameover.cpp) ----
    // Draws the panel over a finished puzzle and runs its timer: up to 90 in play, then back to the menu with 73,
    // falling by 2 a frame over the menu.
    int p_GameOver();

    int m_gaveUp = 0;                       // -1 when the player gave up the puzzle
    int m_finishTimer = 0;                  // the panel's frame counter; 0: no panel
};
