// Texture pages against the recording OpenGL stand-in: which loaded surfaces share a page, draws of several
// surfaces of a page in one call with the texel addresses of textures of their own, layers given up and taken
// again, packing once loading pauses, and the page made again for a new window.
#include <stb_image_write.h>

#include <string>
#include <vector>

#include "tests/support/scratch.h"
#include "tests/framework/graphics_fixture.h"

namespace {

using glrec::Draws;

// A sheet of w x h pixels of depth bytes each (every byte 255) in the temporary folder; answers its path.
std::string WriteSheet(const std::string& name, int w, int h, int depth = 4) {
    const std::string path = scratch::File(name);
    const std::vector<unsigned char> pixels(static_cast<size_t>(w) * h * depth, 255);
    stbi_write_png(path.c_str(), w, h, depth, pixels.data(), w * depth);
    return path;
}

class PageTest : public GraphicsTest {
protected:
    StrongRef<hwSurface> Load(const std::string& name, int w, int h, int depth = 4) {
        StrongRef<hwSurface> surface = device->LoadSurface(String(WriteSheet(name, w, h, depth).c_str()));
        EXPECT_TRUE(surface);
        return surface;
    }
    // Ends the frame and starts the next, as the frame loop does; pages settle as a frame begins.
    void NextFrame() {
        device->EndRender();
        device->BeginRender();
    }
};

TEST_F(PageTest, SurfacesOfOnePageDrawInOneCallAtTheirOwnTexelAddresses) {
    StrongRef<hwSurface> square = Load("square.png", 8, 8);
    StrongRef<hwSurface> strip = Load("strip.png", 8, 4);  // half as tall: a layer of the square's size
    StrongRef<hwSurface> big = Load("big.png", 16, 16);   // four times the texels: a page of its own
    ASSERT_TRUE(square->page);
    EXPECT_EQ(strip->page, square->page);
    EXPECT_NE(big->page, square->page);
    EXPECT_EQ(glrec::Count("glTexImage3D"), 0) << "nothing is uploaded until a page is needed";

    device->DrawSurface2(square.Get(), 0, 0, 4, 0, 4, 8);
    device->DrawSurface2(strip.Get(), 10, 0, 2, 2, 2, 2);
    device->DrawSurface(square.Get(), 20, 0);
    device->DrawSurface(big.Get(), 30, 0);
    Finish();
    const auto draws = Draws();
    ASSERT_EQ(draws.size(), 2u) << "three quads of one page, then the other page";
    EXPECT_TRUE(draws[0]->layered);
    EXPECT_EQ(draws[0]->texture, square->page->Texture());
    EXPECT_EQ(draws[1]->texture, big->page->Texture());

    // u and v are what textures of their own would give, the strip's v halved: its layer is twice as tall.
    const auto& v = draws[0]->vertices;
    ASSERT_EQ(v.size(), 12u);
    EXPECT_EQ(v[0].u, 0.5f);
    EXPECT_EQ(v[2].u, 1.0f);
    EXPECT_EQ(v[2].v, 1.0f);
    EXPECT_EQ(v[4].u, 0.25f);
    EXPECT_EQ(v[4].v, 0.25f);
    EXPECT_EQ(v[6].v, 0.5f);
    // The layer coordinate names the middle of each layer, the same at every vertex of a quad.
    EXPECT_EQ(v[0].layer, 0.25f);
    EXPECT_EQ(v[3].layer, 0.25f);
    EXPECT_EQ(v[4].layer, 0.75f);
    EXPECT_EQ(v[7].layer, 0.75f);

    // One texture of two layers, filled from the kept pixels; the strip's last row repeated under it.
    const auto* made = glrec::All("glTexImage3D").at(0);
    EXPECT_EQ(made->args[3], 8);
    EXPECT_EQ(made->args[4], 8);
    EXPECT_EQ(made->args[5], 2);
    std::vector<std::vector<double>> uploads;
    for (const auto* call : glrec::All("glTexSubImage3D")) {
        if (call->args[4] == 1) uploads.push_back({call->args[2], call->args[3], call->args[5], call->args[6]});
    }
    EXPECT_EQ(uploads, (std::vector<std::vector<double>>{{0, 0, 8, 4}, {0, 4, 8, 1}}));

    // An untextured shape between two quads of the page still costs a call of its own.
    glrec::ClearLog();
    device->BeginRender();
    device->DrawSurface(square.Get(), 0, 0);
    device->DrawRect(0, 0, 1, 1);
    device->DrawSurface(strip.Get(), 0, 0);
    Finish();
    EXPECT_EQ(Draws().size(), 3u);
}

TEST_F(PageTest, OnlySheetsOfOneFormatAndAFittingSizeShareAndLargeOnesKeepTheirOwn) {
    StrongRef<hwSurface> colour = Load("colour.png", 8, 8);
    StrongRef<hwSurface> grey = Load("grey.png", 8, 8, 2);
    StrongRef<hwSurface> quarter = Load("quarter.png", 4, 4);  // would fill only a quarter of a layer
    StrongRef<hwSurface> wide = Load("wide.png", 4, 8);
    ASSERT_TRUE(grey->page);
    EXPECT_NE(grey->page, colour->page);
    EXPECT_EQ(grey->page->format, GL_LUMINANCE_ALPHA);
    EXPECT_NE(quarter->page, colour->page);
    EXPECT_EQ(wide->page, colour->page);

    // Over a million texels: the sheet keeps a texture of its own, made at once as before.
    glrec::ClearLog();
    StrongRef<hwSurface> large = Load("large.png", 1024, 1025);
    EXPECT_FALSE(large->page);
    EXPECT_EQ(large->seq, kpGraphicsSeq);
    EXPECT_EQ(glrec::Count("glTexImage2D"), 1);

    // A context whose 3D textures cannot hold a sheet, or that has none, leaves it a texture of its own.
    glrec::Gl().largest3DTexture = 4;
    host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    EXPECT_FALSE(Load("too-wide.png", 8, 4)->page);
    EXPECT_TRUE(Load("narrow.png", 4, 4)->page);
    glrec::Gl().largest3DTexture = 0;
    host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    EXPECT_FALSE(Load("none.png", 4, 4)->page);

    // And with pages switched off every loaded surface keeps its own.
    glrec::Gl().largest3DTexture = 2048;
    host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    device->UseTexturePages(false);
    EXPECT_FALSE(Load("own.png", 8, 8)->page);
}

TEST_F(PageTest, LayersGivenUpAreTakenAgainAndPagesPackOnceLoadingPauses) {
    StrongRef<hwSurface> a = Load("a.png", 8, 8);
    StrongRef<hwSurface> b = Load("b.png", 8, 8);
    StrongRef<hwSurface> c = Load("c.png", 8, 8);
    StrongRef<hwTexturePage> page = a->page;
    ASSERT_EQ(page->Layers(), 3);
    NextFrame();
    NextFrame();  // a frame with nothing placed: the page is made at once, drawn or not
    EXPECT_TRUE(page->Current());
    EXPECT_EQ(glrec::Last("glTexImage3D")->args[5], 3);

    // A sheet replaced by one of its size: the new one takes the layer given up, and only it is uploaded.
    b->Discard();
    EXPECT_EQ(b->page, nullptr);
    glrec::ClearLog();
    StrongRef<hwSurface> d = Load("d.png", 8, 8);
    EXPECT_EQ(d->page, page);
    EXPECT_EQ(d->layer, 1);
    EXPECT_EQ(page->Layers(), 3);
    device->DrawSurface(d.Get(), 0, 0);
    Finish();
    EXPECT_EQ(glrec::Count("glTexImage3D"), 0);
    EXPECT_EQ(glrec::Count("glTexSubImage3D"), 1);
    EXPECT_EQ(Draws().at(0)->vertices[0].layer, 0.5f);

    // A surface the collector frees gives its layer up too; the page is packed at the first frame after one
    // in which nothing was placed, and its members learn their new layers.
    d = nullptr;
    gc_collect();
    device->BeginRender();
    device->EndRender();  // d was placed during the last frame: loading may still be under way
    EXPECT_EQ(page->Layers(), 3);
    glrec::ClearLog();
    device->BeginRender();
    EXPECT_EQ(page->Layers(), 2);
    EXPECT_EQ(glrec::Last("glTexImage3D")->args[5], 2);
    EXPECT_EQ(c->layer, 1);
    device->DrawSurface(c.Get(), 0, 0);
    Finish();
    EXPECT_EQ(Draws().at(0)->vertices[0].layer, 0.75f);

    // The page goes, and its texture with it, once its last member has.
    const unsigned texture = page->Texture();
    a = c = nullptr;
    page = nullptr;
    glrec::ClearLog();
    gc_collect();
    ASSERT_EQ(glrec::Count("glDeleteTextures"), 1);
    EXPECT_EQ(glrec::Last("glDeleteTextures")->args[1], texture);
}

TEST_F(PageTest, APageIsMadeAgainForANewWindowAndNewSheetsStartPagesOfTheirOwn) {
    StrongRef<hwSurface> a = Load("a.png", 8, 8);
    StrongRef<hwSurface> b = Load("b.png", 8, 8);
    device->DrawSurface(a.Get(), 0, 0);
    Finish();
    StrongRef<hwTexturePage> old = a->page;
    const unsigned first = old->Texture();

    host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, true);  // fullscreen: a new context
    device->BeginRender();
    glrec::ClearLog();
    device->DrawSurface(b.Get(), 0, 0);
    Finish();
    EXPECT_NE(old->Texture(), first);
    EXPECT_EQ(glrec::Count("glDeleteTextures"), 0) << "the old name died with its context";
    EXPECT_EQ(glrec::Count("glTexImage3D"), 1);
    EXPECT_EQ(glrec::Count("glTexSubImage3D"), 2) << "both members uploaded again from their pixels";
    EXPECT_EQ(Draws().at(0)->texture, old->Texture());

    // A new window brings new art: a sheet loaded now starts a page of this window, and the old page, which
    // takes no one new, gives its texture up as each member leaves it.
    StrongRef<hwSurface> c = Load("c.png", 8, 8);
    EXPECT_NE(c->page, old);
    glrec::ClearLog();
    b->Discard();
    EXPECT_EQ(glrec::Count("glDeleteTextures"), 1);
    EXPECT_FALSE(old->Ready(a.Get()));
    device->BeginRender();
    device->DrawSurface(a.Get(), 0, 0);  // still drawn: made again, packed to the one member left
    Finish();
    EXPECT_EQ(glrec::Last("glTexImage3D")->args[5], 1);
    EXPECT_EQ(a->layer, 0);
}

TEST_F(PageTest, AMemberBeyondTheMadeLayersDrawsWhatWasPendingFirst) {
    StrongRef<hwSurface> a = Load("a.png", 8, 8);
    device->DrawSurface(a.Get(), 0, 0);
    StrongRef<hwSurface> b = Load("b.png", 8, 8);  // placed after the page was made, within the frame
    device->DrawSurface(b.Get(), 0, 0);
    Finish();
    const auto draws = Draws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0]->vertices[0].layer, 0.5f) << "a's quad, for the one-layer texture it was written for";
    EXPECT_EQ(draws[1]->vertices[0].layer, 0.75f);
    EXPECT_EQ(glrec::Last("glTexImage3D")->args[5], 2);
}

TEST_F(PageTest, ADriverThatWantsPowersOfTwoGetsThemInEveryDirection) {
    glrec::Gl().rejectNonPowerOfTwo = true;
    StrongRef<hwSurface> a = Load("a.png", 6, 8);
    StrongRef<hwSurface> b = Load("b.png", 6, 8);
    StrongRef<hwSurface> c = Load("c.png", 6, 8);
    device->DrawSurface(c.Get(), 0, 0);
    Finish();
    const auto made = glrec::All("glTexImage3D");
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(made[1]->args[3], 8);
    EXPECT_EQ(made[1]->args[5], 4);
    const auto& v = Draws().at(0)->vertices;
    EXPECT_EQ(v[2].u, 6.0f / 8) << "the layer's spare columns are never sampled";
    EXPECT_EQ(v[0].layer, 2.5f / 4);
    // The sheet's last column is repeated beside it, as the edge of a texture of its own would clamp.
    bool column = false;
    for (const auto* call : glrec::All("glTexSubImage3D")) column |= call->args[2] == 6 && call->args[5] == 1;
    EXPECT_TRUE(column);
}

}  // namespace
