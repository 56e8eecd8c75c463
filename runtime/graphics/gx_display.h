// gxDisplay: one open graphics mode. It owns the front and back buffer canvases and every
// other canvas, shows the front buffer in the window (through the GL device), flips, keeps
// the gamma ramps and answers the memory questions.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>

#include "runtime/graphics/texture_formats.h"
#include "runtime/host/gx_host.h"

namespace tarsk {

class gxCanvas;
class gxFont;
class GlDevice;
class gxMesh;
class WindowPresenter;
struct Surface;

class gxDisplay : public HostDisplay {
public:
    // kind: scaled window, window or full screen; flags: the graphics flags.
    gxDisplay(gxHost& host, DisplayKind kind, int32_t width, int32_t height, const gxPixelFormat& frontFormat,
              int32_t flags);
    ~gxDisplay() override;
    gxDisplay(const gxDisplay&) = delete;
    gxDisplay& operator=(const gxDisplay&) = delete;

    gxCanvas* frontCanvas() const { return front_; }
    gxCanvas* backCanvas() const { return back_; }
    // Fonts (display_fonts.cpp). The default font, courier at height 12, is made with the
    // display and given to both buffers; it stays until the display goes.
    gxFont* defaultFont() const { return defaultFont_; }
    // A font of the face name or font file (a name with a "."), or nullptr.
    gxFont* makeFont(const std::string& name, int32_t height, int32_t style);
    bool ownsFont(const gxFont* font) const { return fonts_.count(const_cast<gxFont*>(font)) != 0; }
    void dropFont(gxFont* font);
    // Full paths of the font files this display added to the face lookup, each once.
    const std::set<std::string>& registeredFontFiles() const { return fontFiles_; }
    DisplayKind kind() const { return kind_; }
    int32_t flags() const { return flags_; }

    // A new canvas cleared to black, or nullptr for a size or flags it cannot make.
    gxCanvas* makeCanvas(int32_t width, int32_t height, int32_t canvasFlags);
    // A canvas from a picture or DDS file, or nullptr.
    gxCanvas* readCanvasFile(const std::string& path, int32_t canvasFlags);
    bool ownsCanvas(const gxCanvas* canvas) const;
    void dropCanvas(gxCanvas* canvas);

    void waitVerticalBlank();
    int32_t scanLine() const;
    int32_t videoMemoryTotal() const;
    int32_t videoMemoryFree() const;

    void setGammaEntry(int32_t r, int32_t g, int32_t b, float red, float green, float blue);
    void applyGamma(bool calibrate);
    void gammaEntry(int32_t r, int32_t g, int32_t b, float& red, float& green, float& blue) const;

    void flip(bool vwait);
    // The GL device of this display (made on first use); nullptr when no GL is available.
    GlDevice* glDevice();
    // A driver mesh of those capacities, kept in the display's driver-mesh set (the
    // display frees what is left when it goes); nullptr without GL.
    std::shared_ptr<gxMesh> makeDriverMesh(int32_t vertexCapacity, int32_t triangleCapacity);
    // Removes a driver mesh from the set (a mesh not in it is ignored).
    void dropDriverMesh(gxMesh* mesh);
    const TextureFormatSet& textureFormats(bool highColour) const { return textureFormats_[highColour ? 1 : 0]; }

    // HostDisplay
    bool restoreSurfaces() override;
    void paint() override;
    std::string systemProperty(std::string_view name) override;

    // The present timer's check (any thread): the front buffer changed since last shown.
    bool frontChanged() const;
    uint32_t windowId() const { return windowId_; }

private:
    struct Surfaces;
    Surfaces makeSurfaces(int32_t width, int32_t height, int32_t canvasFlags) const;
    void present();
    void dropFonts();

    gxHost& host_;
    DisplayKind kind_;
    int32_t flags_;
    int32_t width_, height_;
    gxPixelFormat frontFormat_;
    TextureFormatSet textureFormats_[2];
    gxCanvas* front_ = nullptr;
    gxCanvas* back_ = nullptr;
    std::set<gxCanvas*> canvases_;
    bool gammaControl_;
    uint16_t ramps_[3 * 256];
    uint16_t appliedRamps_[3 * 256];
    std::atomic<uint32_t> presentedCount_{0};
    uint32_t windowId_ = 0;
    int presentTimer_ = 0;
    std::unique_ptr<GlDevice> gl_;
    std::unordered_map<const gxMesh*, std::shared_ptr<gxMesh>> driverMeshes_;
    bool glTried_ = false;
    std::unique_ptr<WindowPresenter> presenter_;
    std::set<gxFont*> fonts_;
    gxFont* defaultFont_ = nullptr;
    std::set<std::string> fontFiles_;  // font files this display added to the face lookup
};

}  // namespace tarsk
