#include "runtime/graphics/gl_sync.h"

#include <cstring>

#include "runtime/graphics/gl_api.h"
#include "runtime/graphics/gl_device.h"

namespace tarsk {
namespace {

constexpr uint32_t fourCC(const char* code) {
    return uint32_t(uint8_t(code[0])) | uint32_t(uint8_t(code[1])) << 8 | uint32_t(uint8_t(code[2])) << 16 |
           uint32_t(uint8_t(code[3])) << 24;
}

GLenum compressedFormat(uint32_t code) {
    if (code == fourCC("DXT1")) return 0x83F1;  // RGBA S3TC DXT1
    if (code == fourCC("DXT3")) return 0x83F2;
    return 0x83F3;
}

bool isArgb32(const gxPixelFormat& f) {
    return f.depth() == 32 && f.redMask() == 0xFF0000 && f.greenMask() == 0xFF00 && f.blueMask() == 0xFF &&
           (f.alphaMask() == 0 || f.alphaMask() == 0xFF000000u);
}

// Level pixels as ARGB words the GL reads as BGRA bytes, or the store itself when it is
// already laid out so.
const void* argbPixels(GlDevice& device, const gxPixelFormat& f, const SurfaceLevel& level) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    if (isArgb32(f)) {
        glPixelStorei(GL_UNPACK_ROW_LENGTH, level.pitch / 4);
        return level.bytes.data();
    }
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    std::vector<uint32_t>& words = device.scratch();
    words.resize(size_t(level.width) * size_t(level.height));
    int32_t bpp = f.bytesPerPixel();
    for (int32_t y = 0; y < level.height; ++y) {
        const uint8_t* row = level.bytes.data() + size_t(y) * level.pitch;
        uint32_t* out = words.data() + size_t(y) * level.width;
        for (int32_t x = 0; x < level.width; ++x) out[x] = f.read(row + x * bpp);
    }
    return words.data();
}

void upload(GlDevice& device, Surface& surface) {
    GlCopy& gl = surface.gl;
    bool create = gl.texture == 0;
    if (create) {
        glGenTextures(1, &gl.texture);
        gl.device = &device;
    }
    glBindTexture(GL_TEXTURE_2D, gl.texture);
    for (size_t i = 0; i < surface.levels.size(); ++i) {
        const SurfaceLevel& level = surface.levels[i];
        if (surface.fourCC) {
            glCompressedTexImage2D(GL_TEXTURE_2D, GLint(i), compressedFormat(surface.fourCC), level.width, level.height,
                                   0, GLsizei(level.bytes.size()), level.bytes.data());
            continue;
        }
        const void* pixels = argbPixels(device, surface.format, level);
        if (create) {
            glTexImage2D(GL_TEXTURE_2D, GLint(i), GL_RGBA8, level.width, level.height, 0, GL_BGRA,
                         GL_UNSIGNED_INT_8_8_8_8_REV, pixels);
        } else {
            glTexSubImage2D(GL_TEXTURE_2D, GLint(i), 0, 0, level.width, level.height, GL_BGRA,
                            GL_UNSIGNED_INT_8_8_8_8_REV, pixels);
        }
    }
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    if (create) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, GLint(surface.levels.size()) - 1);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, surface.levels.size() > 1 ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        // A store without alpha reads as opaque, whatever its unused bits hold.
        if (!surface.fourCC && surface.format.alphaMask() == 0) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE);
    }
    gl.uploaded = true;
    gl.uploadedVersion = surface.version;
}

}  // namespace

GlCopy::~GlCopy() {
    if (device) device->release(texture, framebuffer, depthBuffer);
}

uint32_t textureOf(GlDevice& device, Surface& surface) {
    device.makeCurrent();
    GlCopy& gl = surface.gl;
    if (!gl.gpuNewer && (!gl.uploaded || gl.uploadedVersion != surface.version)) upload(device, surface);
    return gl.texture;
}

bool beginRender(GlDevice& device, Surface& surface) {
    if (surface.fourCC) return false;
    textureOf(device, surface);
    GlCopy& gl = surface.gl;
    if (!gl.framebuffer) {
        glGenFramebuffers(1, &gl.framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, gl.framebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, gl.texture, 0);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, gl.framebuffer);
    if (gl.wantsDepth && !gl.depthBuffer) {
        glGenRenderbuffers(1, &gl.depthBuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, gl.depthBuffer);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, surface.width(), surface.height());
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, gl.depthBuffer);
    } else if (!gl.wantsDepth && gl.depthBuffer) {
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, 0);
        glDeleteRenderbuffers(1, &gl.depthBuffer);
        gl.depthBuffer = 0;
    }
    glViewport(0, 0, surface.width(), surface.height());
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

void endRender(Surface& surface) { surface.gl.gpuNewer = true; }

void readBackRendered(Surface& surface) {
    GlCopy& gl = surface.gl;
    gl.gpuNewer = false;
    if (!gl.device || !gl.framebuffer) return;
    GlDevice& device = *gl.device;
    device.makeCurrent();
    SurfaceLevel& level = surface.levels[0];
    glBindFramebuffer(GL_READ_FRAMEBUFFER, gl.framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    const gxPixelFormat& f = surface.format;
    if (f.depth() == 32 && isArgb32(f) && f.alphaMask()) {
        glPixelStorei(GL_PACK_ROW_LENGTH, level.pitch / 4);
        glReadPixels(0, 0, level.width, level.height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, level.bytes.data());
        glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    } else {
        std::vector<uint32_t>& words = device.scratch();
        words.resize(size_t(level.width) * size_t(level.height));
        glReadPixels(0, 0, level.width, level.height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, words.data());
        int32_t bpp = f.bytesPerPixel();
        for (int32_t y = 0; y < level.height; ++y) {
            uint8_t* row = level.bytes.data() + size_t(y) * level.pitch;
            const uint32_t* in = words.data() + size_t(y) * level.width;
            for (int32_t x = 0; x < level.width; ++x) f.write(row + x * bpp, in[x]);
        }
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    // The store now holds what the GL copy holds.
    ++surface.version;
    gl.uploadedVersion = surface.version;
}

}  // namespace tarsk
