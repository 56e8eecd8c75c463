// Fonts under the project's font configuration, Text, the console commands and the Input
// line editor fed by injected key events, run as a program without a window.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "runtime/graphics/font_config.h"
#include "runtime/graphics/graphics_state.h"
#include "runtime/graphics/gx_canvas.h"
#include "runtime/graphics/gx_display.h"
#include "runtime/graphics/gx_font.h"
#include "runtime/host/arena.h"
#include "runtime/host/gx_host.h"
#include "runtime/host/registry.h"
#include "runtime/host/runtime_error.h"
#include "runtime/host/runtime_interface.h"
#include "runtime/language/strings.h"
#include "tarsk_commands.h"
#include "tests/support/command_calls.h"
#include "tests/support/program_frame.h"

using namespace tarsk;

namespace {

void runWithText(std::function<void()> test) {
    EXPECT_EQ(test::runAsProgram(test, {.modules = {"basic", "graphics", "input"}, .videoDriver = "dummy"}), "");
}

using test::errorOf;

tbString* text(const std::string& s) { return stringNew(s); }
gxDisplay& display() { return *graphicsState().display; }
gxCanvas& front() { return *display().frontCanvas(); }
int32_t newBuffer(int32_t width, int32_t height) { return handleOf(display().makeCanvas(width, height, 0)); }
gxCanvas& canvasOf(int32_t handle) { return *fromHandle<gxCanvas>(handle); }

std::string fileName(const FaceFile& face) { return std::filesystem::path(face.path).filename().string(); }

// Every pixel of a canvas, row by row.
std::vector<uint32_t> pixels(gxCanvas& c) {
    std::vector<uint32_t> all;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) all.push_back(c.peekPixel(x, y));
    return all;
}

int countOf(gxCanvas& c, uint32_t argb) {
    int n = 0;
    for (uint32_t p : pixels(c)) n += p == argb;
    return n;
}

TEST(FontConfig, CommonFaceNamesResolveToMetricCompatibleFaces) {
    const std::pair<const char*, const char*> names[] = {
        {"arial", "LiberationSans-Regular.ttf"},      {"Arial", "LiberationSans-Regular.ttf"},
        {"times new roman", "LiberationSerif-Regular.ttf"}, {"courier", "LiberationMono-Regular.ttf"},
        {"Courier New", "LiberationMono-Regular.ttf"}, {"calibri", "Carlito-Regular.ttf"},
        {"cambria", "Caladea-Regular.ttf"},            {"no such face", "LiberationSans-Regular.ttf"},
    };
    for (auto [name, file] : names) EXPECT_EQ(fileName(matchFace(name, false, false)), file) << name;
    FaceFile boldItalic = matchFace("arial", true, true);
    EXPECT_EQ(fileName(boldItalic), "LiberationSans-BoldItalic.ttf");
    EXPECT_TRUE(boldItalic.bold && boldItalic.italic);
}

TEST(Fonts, ArialMetricsAtSeveralHeights) {
    runWithText([] {
        struct Want {
            int32_t height, a, space, hello, widest;
        };
        const Want wants[] = {{12, 6, 3, 23, 11}, {16, 8, 4, 31, 14}, {24, 12, 6, 46, 21}};
        for (const Want& want : wants) {
            int32_t font = _floadfont(text("arial"), want.height, 0, 0, 0);
            ASSERT_NE(font, 0);
            _fsetfont(font);
            EXPECT_EQ(_ffontheight(), want.height);
            EXPECT_EQ(_fstringwidth(text("a")), want.a) << want.height;
            EXPECT_EQ(_fstringwidth(text(" ")), want.space) << want.height;
            EXPECT_EQ(_fstringwidth(text("Hello")), want.hello) << want.height;
            EXPECT_EQ(_ffontwidth(), want.widest) << want.height;
            EXPECT_EQ(_fstringheight(text("anything at all")), want.height);
        }
        // Bold is wider; the monospaced face gives every character one width.
        int32_t bold = _floadfont(text("arial"), 16, 1, 0, 0);
        _fsetfont(bold);
        EXPECT_GT(_fstringwidth(text("Hello")), 31);
        _fsetfont(_floadfont(text("courier"), 16, 0, 0, 0));
        EXPECT_EQ(_fstringwidth(text("iiii")), _fstringwidth(text("WWWW")));
    });
}

TEST(Fonts, CharactersOutsideTheRangeCountAsTheDefaultCharacter) {
    runWithText([] {
        gxFont* font = graphicsState().font;
        EXPECT_EQ(font, display().defaultFont());
        EXPECT_FALSE(font->hasChar(29));
        EXPECT_TRUE(font->hasChar(30));
        EXPECT_TRUE(font->hasChar(255));
        EXPECT_EQ(_fstringwidth(text(std::string("\x01\x1F", 2))), 2 * font->charWidth(31));
        // 128 ... 255 are the Windows-1252 characters: the euro sign is a glyph of its own.
        int32_t euro = newBuffer(20, 20), missing = newBuffer(20, 20);
        _fsetbuffer(euro);
        _ftext(0, 0, text("\x80"), 0, 0);
        _fsetbuffer(missing);
        _ftext(0, 0, text("\x1F"), 0, 0);
        EXPECT_GT(countOf(canvasOf(euro), 0xFFFFFFFF), 0);
        EXPECT_NE(pixels(canvasOf(euro)), pixels(canvasOf(missing)));
    });
}

TEST(Text, CentringAndClippingAtTheViewport) {
    runWithText([] {
        int32_t font = _floadfont(text("courier"), 13, 0, 0, 0);
        _fsetfont(font);
        ASSERT_EQ(_fstringwidth(text("a")), 7);
        ASSERT_EQ(_fstringwidth(text("b")), 7);
        // Centred on 100,100: 100 - 14 / 2 = 93 and 100 - 13 / 2 = 94.
        int32_t centred = newBuffer(200, 200), placed = newBuffer(200, 200);
        _fsetbuffer(centred);
        _ftext(100, 100, text("ab"), 1, 1);
        _fsetbuffer(placed);
        _ftext(93, 94, text("ab"), 0, 0);
        EXPECT_GT(countOf(canvasOf(placed), 0xFFFFFFFF), 10);
        EXPECT_EQ(pixels(canvasOf(centred)), pixels(canvasOf(placed)));

        // Clipped: inside the viewport the pixels of the unclipped text, outside nothing.
        int32_t whole = newBuffer(60, 30), clipped = newBuffer(60, 30);
        _fsetbuffer(whole);
        _ftext(-4, 5, text("abcdefghij"), 0, 0);
        _fsetbuffer(clipped);
        _fviewport(10, 8, 30, 6);
        _ftext(-4, 5, text("abcdefghij"), 0, 0);
        canvasOf(clipped).clipTo(0, 0, 60, 30);
        int inside = 0;
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 60; ++x) {
                bool visible = x >= 10 && x < 40 && y >= 8 && y < 14;
                uint32_t want = visible ? canvasOf(whole).peekPixel(x, y) : 0xFF000000u;
                EXPECT_EQ(canvasOf(clipped).peekPixel(x, y), want) << x << "," << y;
                inside += visible && want == 0xFFFFFFFFu;
            }
        }
        EXPECT_GT(inside, 5);
    });
}

TEST(Text, BlackTextIsDrawnAsDarkBlueAndLeavesTheBackground) {
    runWithText([] {
        int32_t buffer = newBuffer(80, 20);
        _fsetbuffer(buffer);
        _fclscolor(0, 0, 255);
        _fcls();
        _fcolor(0, 0, 0);
        _ftext(2, 2, text("Hello"), 0, 0);
        gxCanvas& c = canvasOf(buffer);
        EXPECT_GT(countOf(c, 0xFF000010u), 10);
        EXPECT_EQ(countOf(c, 0xFF000000u), 0);
        EXPECT_EQ(countOf(c, 0xFF000010u) + countOf(c, 0xFF0000FFu), 80 * 20);
    });
}

TEST(Text, UnderlineRunsUnderTheWholeString) {
    runWithText([] {
        int32_t buffer = newBuffer(100, 30);
        _fsetbuffer(buffer);
        _fsetfont(_floadfont(text("arial"), 20, 0, 0, 1));
        _ftext(0, 0, text("    "), 0, 0);  // spaces: only the underline is drawn
        int32_t width = _fstringwidth(text("    "));
        gxCanvas& c = canvasOf(buffer);
        int fullRows = 0;
        for (int y = 0; y < 20; ++y) {
            int set = 0;
            for (int x = 0; x < 100; ++x) set += c.peekPixel(x, y) == 0xFFFFFFFFu;
            if (set == width) ++fullRows;
            else EXPECT_EQ(set, 0) << y;
        }
        EXPECT_GE(fullRows, 1);
    });
}

TEST(Fonts, FontFilesAreRegisteredOnceAndFontsFreedSafely) {
    runWithText([] {
        std::string file = testing::TempDir() + "/tarskface.ttf";
        std::filesystem::copy_file("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", file,
                                   std::filesystem::copy_options::overwrite_existing);
        int32_t small = _floadfont(text(file), 12, 0, 0, 0);
        int32_t large = _floadfont(text(file), 20, 0, 0, 0);
        ASSERT_NE(small, 0);
        ASSERT_NE(large, 0);
        EXPECT_EQ(display().registeredFontFiles().size(), 1u);
        _fsetfont(large);
        int32_t fromFile = _fstringwidth(text("Hello"));
        _fsetfont(_floadfont(text("DejaVu Sans"), 20, 0, 0, 0));
        EXPECT_EQ(fromFile, _fstringwidth(text("Hello")));  // the face of the file, not the fallback

        int32_t other = newBuffer(10, 10);
        _fsetfont(large);
        _fsetbuffer(other);  // holds the font too
        _fsetbuffer(_ffrontbuffer());
        _ffreefont(large);  // the current font: the default takes its place, on every canvas
        EXPECT_EQ(canvasOf(other).font(), display().defaultFont());
        EXPECT_EQ(graphicsState().font, display().defaultFont());
        EXPECT_EQ(graphicsState().buffer->font(), display().defaultFont());
        _ffreefont(handleOf(display().defaultFont()));  // ignored: text still relies on it
        EXPECT_EQ(_ffontheight(), 12);
        _fgraphics(320, 240, 0, 2);  // a new display makes the default font again
        EXPECT_EQ(graphicsState().font, display().defaultFont());
        EXPECT_TRUE(display().registeredFontFiles().empty());
        std::filesystem::remove(file);
        // A runtime error ends the program at its next event pump, so the errors come last.
        EXPECT_EQ(errorOf([large] { _fsetfont(large); }), "Font does not exist");
        EXPECT_EQ(errorOf([small] { _ffreefont(small); }), "Font does not exist");
    });
}

TEST(Console, PrintScrollsAtTheBottomAndLocateClamps) {
    runWithText([] {
        _flocate(-5, 10000);
        EXPECT_EQ(graphicsState().textX, 0);
        EXPECT_EQ(graphicsState().textY, 300);
        int32_t line = _ffontheight();
        gxCanvas& f = front();
        f.setInk(0xFF00FF00);
        f.drawRect(0, 20, 400, 1, true);  // a marker row
        f.setInk(0xFFFFFFFF);
        _fclscolor(255, 0, 0);
        int32_t over = 5;
        _flocate(0, 300 - line + over);
        _fprint(text("WWWW"));
        EXPECT_EQ(graphicsState().textY, 300);
        EXPECT_EQ(graphicsState().textX, 0);
        EXPECT_EQ(f.peekPixel(10, 20 - over), 0xFF00FF00u);  // moved up by the missing rows
        EXPECT_EQ(f.peekPixel(10, 20), 0xFF000000u);
        EXPECT_EQ(f.peekPixel(399, 299), 0xFFFF0000u);  // freed rows in the clear colour
        EXPECT_EQ(f.peekPixel(399, 300 - over), 0xFFFF0000u);
        EXPECT_EQ(f.peekPixel(399, 300 - over - 1), 0xFF000000u);
        int textPixels = 0;
        for (int y = 300 - line; y < 300; ++y)
            for (int x = 0; x < 40; ++x) textPixels += f.peekPixel(x, y) == 0xFFFFFFFFu;
        EXPECT_GT(textPixels, 10);
        // Write advances along the line; the front's own state is put back.
        f.moveOrigin(7, 7);
        _flocate(0, 0);
        _fwrite(text("ab"));
        EXPECT_EQ(graphicsState().textX, _fstringwidth(text("ab")));
        EXPECT_EQ(f.originX(), 7);
    });
}

void key(SDL_Scancode code) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.scancode = code;
    currentHost()->input()->windowEvent(event);
    event.type = SDL_KEYUP;
    currentHost()->input()->windowEvent(event);
}

void type(const std::vector<SDL_Scancode>& keys) {
    for (SDL_Scancode k : keys) key(k);
}

std::string input(const std::vector<SDL_Scancode>& keys) {
    type(keys);
    return stringTake(_finput(text("> ")));
}

TEST(Console, InputEditsTheLine) {
    runWithText([] {
        using K = std::vector<SDL_Scancode>;
        EXPECT_EQ(input(K{SDL_SCANCODE_A, SDL_SCANCODE_B, SDL_SCANCODE_C, SDL_SCANCODE_RETURN}), "abc");
        EXPECT_EQ(graphicsState().textY, _ffontheight());
        EXPECT_EQ(graphicsState().textX, 0);
        // Home, End, cursor keys, Backspace and Delete in the middle of the line.
        EXPECT_EQ(input(K{SDL_SCANCODE_A, SDL_SCANCODE_B, SDL_SCANCODE_C, SDL_SCANCODE_D, SDL_SCANCODE_LEFT,
                          SDL_SCANCODE_LEFT, SDL_SCANCODE_BACKSPACE, SDL_SCANCODE_DELETE, SDL_SCANCODE_HOME,
                          SDL_SCANCODE_X, SDL_SCANCODE_END, SDL_SCANCODE_Y, SDL_SCANCODE_HOME, SDL_SCANCODE_RIGHT,
                          SDL_SCANCODE_DELETE, SDL_SCANCODE_RETURN}),
                  "xdy");
        EXPECT_EQ(input(K{SDL_SCANCODE_A, SDL_SCANCODE_ESCAPE, SDL_SCANCODE_B, SDL_SCANCODE_TAB, SDL_SCANCODE_RETURN}),
                  "b");  // Escape empties; a tab has no glyph and is ignored
        // The typed line stays on the front buffer after the prompt.
        int32_t promptWidth = _fstringwidth(text("> "));
        int32_t line = _ffontheight();
        int lit = 0;
        for (int y = 2 * line; y < 3 * line; ++y)
            for (int x = promptWidth; x < promptWidth + 10; ++x) lit += front().peekPixel(x, y) == 0xFFFFFFFFu;
        EXPECT_GT(lit, 3);
    });
}

}  // namespace
