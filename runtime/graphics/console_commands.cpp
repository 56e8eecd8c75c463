// The text console on the front buffer: Write, Print (scrolling at the bottom) and the
// Input line editor.
#include <string>

#include "runtime/graphics/graphics_state.h"
#include "runtime/graphics/gx_canvas.h"
#include "runtime/graphics/gx_display.h"
#include "runtime/graphics/gx_font.h"
#include "runtime/graphics/text_commands.h"
#include "runtime/host/gx_host.h"
#include "runtime/host/runtime_error.h"
#include "runtime/input/gx_input.h"
#include "runtime/input/key_characters.h"
#include "runtime/language/strings.h"

using namespace tarsk;

namespace {

constexpr int32_t kBlinkMillis = 320;
constexpr int32_t kRepeatDelayMillis = 280;
constexpr int32_t kRepeatMillis = 40;
constexpr int32_t kPollMillis = 20;

enum EditKey : int32_t {
    kHome = 1, kEnd = 2, kDelete = 4, kBackspace = 8, kEnter = 13, kEscape = 27, kRight = 30, kLeft = 31
};

GraphicsState& state() { return graphicsState(); }

gxCanvas* inputCursor = nullptr;  // saved line background (row 0) and the edited line (row 1)

// The front canvas made ready for console drawing; puts its state back when done.
class Console {
public:
    Console() {
        if (!state().display) runtimeError("No graphics mode is open");
        front_ = state().display->frontCanvas();
        font_ = state().font;
        if (front_->beginAccess()) front_->endAccess();
        originX_ = front_->originX(), originY_ = front_->originY();
        handleX_ = front_->handleX(), handleY_ = front_->handleY();
        viewport_ = front_->viewport();
        front_->moveOrigin(0, 0);
        front_->placeHandle(0, 0);
        front_->clipTo(0, 0, front_->width(), front_->height());
        if (front_ != state().buffer) {
            front_->useFont(font_);
            front_->setInk(state().colour);
        }
    }
    ~Console() { restore(); }

    gxCanvas& front() { return *front_; }
    int32_t lineHeight() const { return font_ ? font_->fontHeight() : 0; }
    const gxFont* font() const { return font_; }

    // When the cursor's line would end below the buffer, scrolls up by the missing rows.
    void scroll() {
        int32_t height = front_->height(), over = state().textY + lineHeight() - height;
        if (over <= 0) return;
        state().textY = height - lineHeight();
        front_->copyArea(0, 0, front_, 0, over, front_->width(), height - over, true);
        front_->setInk(state().clearColour);
        front_->drawRect(0, height - over, front_->width(), over, true);
        front_->setInk(state().colour);
    }

    // Puts the front canvas's viewport, handle, origin (and colour when it is current) back.
    void restore() {
        if (restored_) return;
        restored_ = true;
        front_->clipTo(viewport_.left, viewport_.top, viewport_.right - viewport_.left, viewport_.bottom - viewport_.top);
        front_->placeHandle(handleX_, handleY_);
        front_->moveOrigin(originX_, originY_);
        if (front_ == state().buffer) front_->setInk(state().colour);
    }

    // Ends the program silently when the window was closed.
    void finish() {
        restore();
        if (!currentHost()->pumpEvents()) endProgram();
    }

private:
    gxCanvas* front_;
    gxFont* font_;
    int32_t originX_, originY_, handleX_, handleY_;
    CanvasRect viewport_;
    bool restored_ = false;
};

void write(const std::string& text, bool newLine) {
    Console console;
    console.scroll();
    console.front().drawText(state().textX, state().textY, text);
    if (newLine) {
        state().textX = 0;
        state().textY += console.lineHeight();
    } else if (console.font()) {
        state().textX += console.font()->stringWidth(text);
    }
    console.finish();
}

// The line being edited and its block cursor on the front buffer.
class LineEditor {
public:
    LineEditor(Console& console, gxCanvas& saved) : console_(console), saved_(saved) {}

    // Applies one character code; false for Enter.
    bool apply(int32_t code) {
        switch (code) {
            case kHome: position_ = 0; break;
            case kEnd: position_ = text_.size(); break;
            case kLeft: if (position_ > 0) --position_; break;
            case kRight: if (position_ < text_.size()) ++position_; break;
            case kBackspace:
                if (position_ > 0) text_.erase(--position_, 1);
                break;
            case kDelete:
                if (position_ < text_.size()) text_.erase(position_, 1);
                break;
            case kEscape: text_.clear(), position_ = 0; break;
            case kEnter: redraw(); return false;
            default:
                if (code > 0 && code < 256 && console_.font()->hasChar(uint32_t(code)))
                    text_.insert(position_++, 1, char(code));
        }
        redraw();
        return true;
    }

    // The block cursor: inverted clear colour on even phases, the line as typed on odd ones.
    void blink(int32_t phase) {
        gxCanvas& front = console_.front();
        int32_t height = console_.lineHeight(), y = state().textY;
        std::string under = position_ < text_.size() ? text_.substr(position_, 1) : std::string(" ");
        int32_t x = state().textX + console_.font()->stringWidth(std::string_view(text_).substr(0, position_));
        int32_t width = console_.font()->stringWidth(under);
        if (phase % 2 == 0) {
            front.setInk(~state().clearColour);
            front.drawRect(x, y, width, height, true);
            front.setInk(state().clearColour);
        } else {
            front.copyArea(x, y, &saved_, x, 0, width, height, true);
            front.setInk(state().colour);
        }
        front.drawText(x, y, under);
        front.setInk(state().colour);
    }

    const std::string& text() const { return text_; }

private:
    void redraw() {
        gxCanvas& front = console_.front();
        int32_t height = console_.lineHeight();
        saved_.copyArea(0, height, &saved_, 0, 0, front.width(), height, true);
        saved_.drawText(state().textX, height, text_);
        front.copyArea(0, state().textY, &saved_, 0, height, front.width(), height, true);
    }

    Console& console_;
    gxCanvas& saved_;
    std::string text_;
    size_t position_ = 0;
};

// The next character code from the keyboard queue, or the held key's repeat; 0 for none.
class KeySource {
public:
    int32_t next() {
        auto* input = dynamic_cast<gxInput*>(currentHost()->input());
        if (!input) return 0;
        input->updateKeyboardAndMouse();
        gxDevice& keys = input->keyboard();
        int32_t now = systemMillis();
        if (int32_t scanCode = keys.nextCode()) {
            last_ = scanCode;
            repeatAt_ = now + kRepeatDelayMillis;
            return toCharacter(scanCode, keys);
        }
        if (last_ && keys.isDown(last_) && now - repeatAt_ >= 0) {
            repeatAt_ = now + kRepeatMillis;
            return toCharacter(last_, keys);
        }
        return 0;
    }

private:
    int32_t last_ = 0;
    int32_t repeatAt_ = 0;
};

std::string inputLine(const std::string& prompt) {
    Console console;
    console.scroll();
    gxCanvas& front = console.front();
    int32_t height = console.lineHeight();
    if (!inputCursor || inputCursor->width() < front.width() || inputCursor->height() < 2 * height) {
        releaseInputCursor();
        inputCursor = state().display->makeCanvas(front.width(), 2 * height, 0);
    }
    if (!inputCursor || !console.font()) {
        console.finish();
        return "";
    }
    front.drawText(state().textX, state().textY, prompt);
    state().textX += console.font()->stringWidth(prompt);
    inputCursor->copyArea(0, 0, &front, 0, state().textY, front.width(), height, true);
    inputCursor->useFont(state().font);
    inputCursor->setInk(state().colour);

    LineEditor editor(console, *inputCursor);
    KeySource keys;
    int32_t start = systemMillis(), shownPhase = -1;
    for (;;) {
        int32_t phase = (systemMillis() - start) / kBlinkMillis;
        if (phase != shownPhase) editor.blink(shownPhase = phase);
        if (int32_t code = keys.next()) {
            if (!editor.apply(code)) break;
            shownPhase = -1;  // the block is drawn again over the redrawn line
            continue;
        }
        if (!currentHost()->waitMillis(kPollMillis) || !currentHost()->pumpEvents()) {
            console.restore();
            endProgram();
        }
    }
    state().textX = 0;
    state().textY += height;
    console.finish();
    return editor.text();
}

}  // namespace

namespace tarsk {

void releaseInputCursor() {
    if (inputCursor && state().display) state().display->dropCanvas(inputCursor);
    inputCursor = nullptr;
}

}  // namespace tarsk

extern "C" {

void _fwrite(tbString* text) { write(stringTake(text), false); }
void _fprint(tbString* text) { write(stringTake(text), true); }
tbString* _finput(tbString* prompt) { return stringNew(inputLine(stringTake(prompt))); }

}  // extern "C"

namespace tarsk {

#define ADD(signature, function) add(signature, reinterpret_cast<const void*>(function))
void console_link(Registrar add) {
    ADD("Write$string", _fwrite);
    ADD("Print$string=\"\"", _fprint);
    ADD("$Input$prompt=\"\"", _finput);
}
#undef ADD

}  // namespace tarsk
