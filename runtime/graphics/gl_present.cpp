#include "runtime/graphics/gl_present.h"

#include "runtime/graphics/gl_api.h"
#include "runtime/graphics/gl_program.h"

namespace tarsk {
namespace {

const char* kVertexShader = R"(#version 330 core
uniform vec2 sourceSize;
out vec2 uv;
void main() {
    vec2 corner = vec2(gl_VertexID & 1, gl_VertexID >> 1);
    uv = vec2(corner.x, 1.0 - corner.y) * sourceSize;
    gl_Position = vec4(corner * 2.0 - 1.0, 0.0, 1.0);
})";

const char* kFragmentShader = R"(#version 330 core
uniform sampler2D picture;
uniform sampler2D gamma;
uniform bool useGamma;
in vec2 uv;
out vec4 colour;
void main() {
    vec3 c = texture(picture, uv).rgb;
    if (useGamma) {
        vec3 at = (floor(c * 255.0 + 0.5) + 0.5) / 256.0;
        c = vec3(texture(gamma, vec2(at.r, 0.5)).r, texture(gamma, vec2(at.g, 0.5)).g, texture(gamma, vec2(at.b, 0.5)).b);
    }
    colour = vec4(c, 1.0);
})";

}  // namespace

WindowPresenter::WindowPresenter() {
    program_ = linkShaderProgram(kVertexShader, kFragmentShader);
    if (!program_) return;
    glUseProgram(program_);
    glUniform1i(glGetUniformLocation(program_, "picture"), 0);
    glUniform1i(glGetUniformLocation(program_, "gamma"), 1);
    sourceSizeAt_ = glGetUniformLocation(program_, "sourceSize");
    useGammaAt_ = glGetUniformLocation(program_, "useGamma");
    glGenVertexArrays(1, &vertexArray_);
    glGenTextures(1, &gammaTexture_);
    glBindTexture(GL_TEXTURE_2D, gammaTexture_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16, 256, 1, 0, GL_RGBA, GL_UNSIGNED_SHORT, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
}

WindowPresenter::~WindowPresenter() {
    if (gammaTexture_) glDeleteTextures(1, &gammaTexture_);
    if (vertexArray_) glDeleteVertexArrays(1, &vertexArray_);
    if (program_) glDeleteProgram(program_);
}

void WindowPresenter::draw(uint32_t texture, const PresentArea& area, const uint16_t* ramps) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glViewport(0, 0, area.clientWidth, area.clientHeight);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glViewport(area.x, area.clientHeight - area.y - area.height, area.width, area.height);
    glUseProgram(program_);
    glUniform2f(sourceSizeAt_, area.sourceWidth, area.sourceHeight);
    glUniform1i(useGammaAt_, ramps ? 1 : 0);
    if (ramps) {
        uint16_t table[256 * 4];
        for (int i = 0; i < 256; ++i) {
            table[4 * i] = ramps[i];
            table[4 * i + 1] = ramps[256 + i];
            table[4 * i + 2] = ramps[512 + i];
            table[4 * i + 3] = 0xFFFF;
        }
        glActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, gammaTexture_);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 256, 1, GL_RGBA, GL_UNSIGNED_SHORT, table);
    }
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindVertexArray(vertexArray_);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glBindVertexArray(0);
}

}  // namespace tarsk
