// Our renderer side by side with SDL2's: a typical play frame (the tutorial with a selection, the hint marker, the
// star field and the word list) is recorded from the real application object, then drawn again and again in a real
// window of the same X server, through our batcher and through SDL2's OpenGL renderer, paced at 60 frames a second
// for 10 s each, alternating three times. Each turn runs in a process of its own; it reports the process's CPU time
// per frame (Mesa's own threads included) and its peak resident memory, and this program prints each turn, the
// medians and their ratio.
// Depends on the game and every device (the recording turn), SDL2 (the other turn), the build tree's art, and a
// display (make bench runs it under a virtual one).
// NOTE: the SDL2 turn draws from the very pixels our surfaces decoded and the very records of the frame, one SDL2
// call per primitive, so the two turns differ only in how the frame reaches OpenGL.
#include <SDL2/SDL.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "game/play_slots.h"
#include "tests/support/build_tree_host.h"
#include "tests/support/game_devices.h"

namespace {

// The window size of both turns: 640 x 480 unless the command line names another.
int windowWidth = 640, windowHeight = 480;
constexpr double kFramePeriod = 1.0 / 60.0;

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}
double WallSeconds() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}
long PeakResidentKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Draws frames through `draw` for `seconds`, paced at 60 a second; prints the turn's figures on standard output.
template <class Draw>
void PacedTurn(const char* who, double seconds, Draw draw) {
    for (int i = 0; i < 30; ++i) draw();  // textures made, caches warm
    const double cpu0 = CpuSeconds(), wall0 = WallSeconds();
    long frames = 0;
    double next = wall0;
    while (WallSeconds() - wall0 < seconds) {
        draw();
        ++frames;
        next += kFramePeriod;
        const double wait = next - WallSeconds();
        if (wait > 0) usleep(static_cast<useconds_t>(wait * 1e6));
    }
    const double cpu = CpuSeconds() - cpu0;
    std::printf("%s cpu_us_per_frame=%.1f frames=%ld peak_rss_kb=%ld\n", who, cpu / static_cast<double>(frames) * 1e6,
                frames, PeakResidentKb());
}

// ---- The frame as a file: what the SDL2 turn needs to draw exactly what the game recorded ----

struct FrameImage {
    int slot = 0, width = 0, height = 0;
    std::vector<unsigned char> rgba;  // premultiplied, as our surfaces keep it
    struct Cell {
        int x, y;
    };
    std::vector<Cell> cells;
    float cellWidth = 0, cellHeight = 0, handleX = 0, handleY = 0;
};

struct Frame {
    float scaleX = 1, scaleY = 1, imageScale = 1;
    float clear[4] = {0, 0, 0, 1};
    std::vector<FrameImage> images;
    std::vector<float> records;
};

template <class T>
void Put(std::ofstream& out, const T& value) {
    out.write(reinterpret_cast<const char*>(&value), sizeof value);
}
template <class T>
void Get(std::ifstream& in, T& value) {
    in.read(reinterpret_cast<char*>(&value), sizeof value);
}

void WriteFrame(const std::string& path, const c_MyApp& app) {
    std::ofstream out(path, std::ios::binary);
    Put(out, app.m_scaleX);
    Put(out, app.m_scaleY);
    Put(out, app.m_imageScale);
    for (int i = 0; i < 4; ++i) Put(out, app.m_clearColor[i]);
    std::map<int, bool> used;
    for (int at = 0; at < app.m_drawCount; at += 15) {
        const float kind = app.m_drawList[at];
        if (kind >= 0 && kind < 100 && app.m_images[static_cast<int>(kind)]) used[static_cast<int>(kind)] = true;
    }
    Put(out, static_cast<int>(used.size()));
    for (const auto& [slot, _] : used) {
        const c_Image* image = app.m_images[slot].Get();
        const hwSurface* surface = image->m_surface.Get();
        Put(out, slot);
        Put(out, surface->width);
        Put(out, surface->height);
        // Every depth the surfaces keep comes out as premultiplied RGBA.
        for (int p = 0; p < surface->width * surface->height; ++p) {
            const unsigned char* px = surface->pixels + static_cast<size_t>(p) * surface->depth;
            unsigned char rgba[4];
            switch (surface->depth) {
                case 1: rgba[0] = rgba[1] = rgba[2] = rgba[3] = px[0]; break;
                case 2: rgba[0] = rgba[1] = rgba[2] = px[0], rgba[3] = px[1]; break;
                case 3: rgba[0] = px[0], rgba[1] = px[1], rgba[2] = px[2], rgba[3] = 255; break;
                default: rgba[0] = px[0], rgba[1] = px[1], rgba[2] = px[2], rgba[3] = px[3]; break;
            }
            out.write(reinterpret_cast<const char*>(rgba), 4);
        }
        Put(out, image->FrameCount());
        for (int f = 0; f < image->FrameCount(); ++f) {
            Put(out, image->m_frames[f]->m_x);
            Put(out, image->m_frames[f]->m_y);
        }
        Put(out, static_cast<float>(image->m_width));
        Put(out, static_cast<float>(image->m_height));
        Put(out, image->m_handleX);
        Put(out, image->m_handleY);
    }
    Put(out, app.m_drawCount);
    out.write(reinterpret_cast<const char*>(app.m_drawList.Data()), static_cast<std::streamsize>(app.m_drawCount * 4));
}

bool ReadFrame(const std::string& path, Frame& frame) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    Get(in, frame.scaleX);
    Get(in, frame.scaleY);
    Get(in, frame.imageScale);
    for (float& c : frame.clear) Get(in, c);
    int count = 0;
    Get(in, count);
    for (int i = 0; i < count && in; ++i) {
        FrameImage image;
        Get(in, image.slot);
        Get(in, image.width);
        Get(in, image.height);
        image.rgba.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4);
        in.read(reinterpret_cast<char*>(image.rgba.data()), static_cast<std::streamsize>(image.rgba.size()));
        int cells = 0;
        Get(in, cells);
        image.cells.resize(static_cast<size_t>(cells));
        for (auto& cell : image.cells) {
            Get(in, cell.x);
            Get(in, cell.y);
        }
        Get(in, image.cellWidth);
        Get(in, image.cellHeight);
        Get(in, image.handleX);
        Get(in, image.handleY);
        frame.images.push_back(std::move(image));
    }
    int floats = 0;
    Get(in, floats);
    frame.records.resize(static_cast<size_t>(floats));
    in.read(reinterpret_cast<char*>(frame.records.data()), static_cast<std::streamsize>(floats * 4));
    return static_cast<bool>(in);
}

// ---- Our turn: the game plays up to the frame, which is then rendered again and again ----

int OurTurn(const std::string& framePath, double seconds) {
    if (!glfw2::Init()) return 1;
    BuildTreeHost host;
    host.SetGlfwWindow(windowWidth, windowHeight, 8, 8, 8, 0, 0, 0, false);
    GameDevices<> devices(&host);
    c_InputDevice* input = devices.input.Get();
    StrongRef<c_MyApp> app = MakeRef<c_MyApp>();

    auto update = [&] { devices.Update(*app); };
    auto render = [&] {
        devices.Render(*app);
        glfw2::SwapBuffers();
        glfw2::PollEvents();
    };
    app->p_OnCreate();
    render();
    while (app->m_loadStep > 0) update();
    for (int i = 0; i < 40; ++i) update();
    // The tutorial from the menu with Enter, its letters landed, then a selection three cells long on another row.
    input->p_KeyEvent(KpEventKeyDown, 13);
    update();
    input->p_KeyEvent(KpEventKeyUp, 13);
    for (int i = 0; i < 200; ++i) update();
    const float cs = std::min((kp_Search_jscrw - 32) / 13, (kp_Search_jscrh - 32) / 13);
    const float left = std::trunc(kp_Search_jscrw / 2 - 6 * cs + cs / 4), top = std::trunc(kp_Search_jscrh / 2 - 6 * cs);
    const int hintRow = static_cast<int>(app->m_player[play::kFirstLetterY]);
    const int row = hintRow <= 9 ? hintRow + 3 : hintRow - 3;
    for (int column : {1, 2}) {
        input->p_MouseEvent(column == 1 ? KpEventMouseDown : KpEventMouseMove, 0, left + column * cs - cs / 4 + 0.5f,
                            top + row * cs + 0.5f);
        update();
    }
    input->p_MouseEvent(KpEventMouseUp, 0, 0, 0);
    update();
    update();
    WriteFrame(framePath, *app);
    PacedTurn("ours", seconds, render);
    return 0;
}

// ---- SDL2's turn: the same records, one SDL2 call each ----

int SdlTurn(const std::string& framePath, double seconds) {
    Frame frame;
    if (!ReadFrame(framePath, frame)) {
        std::fprintf(stderr, "side_by_side: no recorded frame in %s\n", framePath.c_str());
        return 1;
    }
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    SDL_Window* window = SDL_CreateWindow("Quorlix", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, windowWidth, windowHeight, 0);
    SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
    if (!renderer) return 1;
    // Premultiplied colours, as ours: (1, 1 - source alpha), and additive (1, 1).
    const SDL_BlendMode premultiplied =
        SDL_ComposeCustomBlendMode(SDL_BLENDFACTOR_ONE, SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA, SDL_BLENDOPERATION_ADD,
                                   SDL_BLENDFACTOR_ONE, SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA, SDL_BLENDOPERATION_ADD);
    const SDL_BlendMode additive = SDL_ComposeCustomBlendMode(SDL_BLENDFACTOR_ONE, SDL_BLENDFACTOR_ONE,
                                                              SDL_BLENDOPERATION_ADD, SDL_BLENDFACTOR_ONE,
                                                              SDL_BLENDFACTOR_ONE, SDL_BLENDOPERATION_ADD);
    std::map<int, std::pair<SDL_Texture*, const FrameImage*>> textures;
    for (const FrameImage& image : frame.images) {
        SDL_Texture* t = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, image.width,
                                           image.height);
        SDL_UpdateTexture(t, nullptr, image.rgba.data(), image.width * 4);
        textures[image.slot] = {t, &image};
    }
    std::vector<SDL_Vertex> fan;
    const float sx = frame.scaleX, sy = frame.scaleY;
    auto draw = [&] {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
        }
        SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
        SDL_SetRenderDrawColor(renderer, static_cast<Uint8>(frame.clear[0]), static_cast<Uint8>(frame.clear[1]),
                               static_cast<Uint8>(frame.clear[2]), 255);
        SDL_RenderClear(renderer);
        for (size_t at = 0; at + 15 <= frame.records.size(); at += 15) {
            const float* r = &frame.records[at];
            const Uint8 red = static_cast<Uint8>(std::clamp(r[10], 0.0f, 255.0f));
            const Uint8 green = static_cast<Uint8>(std::clamp(r[11], 0.0f, 255.0f));
            const Uint8 blue = static_cast<Uint8>(std::clamp(r[12], 0.0f, 255.0f));
            const Uint8 alpha = static_cast<Uint8>(std::clamp(r[7], 0.0f, 1.0f) * 255.0f);
            const SDL_BlendMode blend = r[13] == 3.0f ? additive : premultiplied;
            const float kind = r[0];
            if (kind == -3717.0f) {
                SDL_SetRenderDrawBlendMode(renderer, blend);
                SDL_SetRenderDrawColor(renderer, red * alpha / 255, green * alpha / 255, blue * alpha / 255, alpha);
                const SDL_FRect rect{r[1] * sx, r[2] * sy, r[4] * sx, r[5] * sy};
                SDL_RenderFillRectF(renderer, &rect);
            } else if (kind == -3716.0f || kind == -3714.0f) {
                // Filled shapes go through SDL2's geometry call, the ellipse with the segment count ours uses.
                const SDL_Color c{static_cast<Uint8>(red * alpha / 255), static_cast<Uint8>(green * alpha / 255),
                                  static_cast<Uint8>(blue * alpha / 255), alpha};
                fan.clear();
                if (kind == -3714.0f) {
                    for (int p = 0; p < 3; ++p) fan.push_back({{r[1 + 2 * p] * sx, r[2 + 2 * p] * sy}, c, {0, 0}});
                } else {
                    const float rx = r[4] * sx, ry = r[5] * sy, cx = r[1] * sx, cy = r[2] * sy;
                    const float segments = std::fabs(std::trunc(rx)) + std::fabs(std::trunc(ry));
                    const int n = segments < 12 ? 12 : std::min(static_cast<int>(segments) & ~3, 1024);
                    for (int i = 1; i + 1 < n; ++i) {
                        for (int v : {0, i, i + 1}) {
                            const float theta = static_cast<float>(v) * 6.2831855f / static_cast<float>(n);
                            fan.push_back({{cx + cosf(theta) * rx, cy - sinf(theta) * ry}, c, {0, 0}});
                        }
                    }
                }
                SDL_SetRenderDrawBlendMode(renderer, blend);
                SDL_RenderGeometry(renderer, nullptr, fan.data(), static_cast<int>(fan.size()), nullptr, 0);
            } else if (kind == -3715.0f) {
                SDL_SetRenderDrawBlendMode(renderer, blend);
                SDL_SetRenderDrawColor(renderer, red * alpha / 255, green * alpha / 255, blue * alpha / 255, alpha);
                SDL_RenderDrawLineF(renderer, r[1] * sx, r[2] * sy, r[4] * sx, r[5] * sy);
            } else if (kind > -1.0f && kind < 100.0f) {
                auto found = textures.find(static_cast<int>(kind));
                if (found == textures.end()) continue;
                SDL_Texture* texture = found->second.first;
                const FrameImage& image = *found->second.second;
                const int cell = static_cast<int>(r[6]);
                if (cell < 0 || cell >= static_cast<int>(image.cells.size())) continue;
                const SDL_Rect source{image.cells[static_cast<size_t>(cell)].x, image.cells[static_cast<size_t>(cell)].y,
                                      static_cast<int>(image.cellWidth), static_cast<int>(image.cellHeight)};
                const float kx = r[4] * sx * frame.imageScale, ky = r[5] * sy * frame.imageScale;
                const SDL_FRect dest{r[1] * sx - image.handleX * kx, r[2] * sy - image.handleY * ky,
                                     image.cellWidth * kx, image.cellHeight * ky};
                const SDL_FPoint centre{image.handleX * kx, image.handleY * ky};
                SDL_SetTextureBlendMode(texture, blend);
                SDL_SetTextureColorMod(texture, red * alpha / 255, green * alpha / 255, blue * alpha / 255);
                SDL_SetTextureAlphaMod(texture, alpha);
                // Ours turns a positive angle counter-clockwise on screen; SDL2 turns clockwise.
                SDL_RenderCopyExF(renderer, texture, &source, &dest, -r[3], &centre, SDL_FLIP_NONE);
            }
        }
        SDL_RenderPresent(renderer);
    };
    PacedTurn("sdl2", seconds, draw);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}

// ---- The alternation ----

struct Turn {
    double cpuUs = 0;
    long frames = 0, peakKb = 0;
};

bool RunTurn(const char* self, const char* who, const std::string& framePath, double seconds, Turn& turn) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return false;
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        const std::string time = std::to_string(seconds), width = std::to_string(windowWidth), height = std::to_string(windowHeight);
        execl(self, self, who, framePath.c_str(), time.c_str(), width.c_str(), height.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    std::string output;
    char buffer[512];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) output.append(buffer, static_cast<size_t>(n));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    const size_t line = output.find(std::string(who) + " cpu_us_per_frame=");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || line == std::string::npos) {
        std::fprintf(stderr, "side_by_side: the %s turn failed\n%s", who, output.c_str());
        return false;
    }
    return std::sscanf(output.c_str() + line + std::string(who).size(), " cpu_us_per_frame=%lf frames=%ld peak_rss_kb=%ld",
                       &turn.cpuUs, &turn.frames, &turn.peakKb) == 3;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string MachineName() {
    std::ifstream cpu("/proc/cpuinfo");
    for (std::string line; std::getline(cpu, line);) {
        if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
    }
    return "unknown processor";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 6) {
        const std::string who = argv[1];
        const double seconds = std::atof(argv[3]);
        windowWidth = std::atoi(argv[4]);
        windowHeight = std::atoi(argv[5]);
        if (who == "ours") return OurTurn(argv[2], seconds);
        if (who == "sdl2") return SdlTurn(argv[2], seconds);
        return 2;
    }
    // side_by_side [seconds a turn] [width height]
    const double seconds = argc >= 2 ? std::atof(argv[1]) : 10.0;
    if (argc == 4) {
        windowWidth = std::atoi(argv[2]);
        windowHeight = std::atoi(argv[3]);
    }
    const std::string framePath = "/tmp/quorlix-side-by-side-" + std::to_string(getpid()) + ".frame";
    std::vector<double> ours, sdl;
    long oursPeak = 0, sdlPeak = 0;
    std::printf("Side by side on %s, %ld processors: one play frame at %dx%d, 60 frames a second, %.0f s a turn\n",
                MachineName().c_str(), sysconf(_SC_NPROCESSORS_ONLN), windowWidth, windowHeight, seconds);
    for (int round = 1; round <= 3; ++round) {
        Turn a, b;
        if (!RunTurn(argv[0], "ours", framePath, seconds, a) || !RunTurn(argv[0], "sdl2", framePath, seconds, b)) {
            std::remove(framePath.c_str());
            return 1;
        }
        ours.push_back(a.cpuUs);
        sdl.push_back(b.cpuUs);
        oursPeak = std::max(oursPeak, a.peakKb);
        sdlPeak = std::max(sdlPeak, b.peakKb);
        std::printf("  round %d: ours %.1f us a frame (%ld frames), SDL2 %.1f us a frame (%ld frames)\n", round, a.cpuUs,
                    a.frames, b.cpuUs, b.frames);
    }
    std::remove(framePath.c_str());
    const double ourMedian = Median(ours), sdlMedian = Median(sdl);
    std::printf("CPU time a frame, median of 3: ours %.1f us, SDL2 %.1f us; ratio %.2f (the target is 0.80 or less)\n",
                ourMedian, sdlMedian, ourMedian / sdlMedian);
    std::printf("Peak resident memory: ours %.1f MB, SDL2 %.1f MB\n", static_cast<double>(oursPeak) / 1024,
                static_cast<double>(sdlPeak) / 1024);
    return 0;
}
