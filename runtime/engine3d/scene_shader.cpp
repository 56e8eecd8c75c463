#include "runtime/engine3d/scene_shader.h"

namespace tarsk {

namespace {

constexpr const char* kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec4 aColour;
layout(location = 3) in vec2 aCoords0;
layout(location = 4) in vec2 aCoords1;

uniform mat4 uWorldView;
uniform mat3 uNormalMatrix;
uniform mat4 uProjection;
uniform mat3 uCameraToWorld;

uniform bool uLighting;
uniform int uColourSource;  // 0 material, 1 vertex diffuse and ambient, 2 vertex emissive
uniform vec3 uAmbient;
uniform vec4 uMatDiffuse;
uniform vec3 uMatAmbient;
uniform vec3 uMatSpecular;
uniform float uMatPower;
uniform bool uSpecular;

uniform int uLightType[8];  // 0 off, 1 directional, 2 point, 3 spot
uniform vec3 uLightDiffuse[8];
uniform vec3 uLightSpecular[8];
uniform vec3 uLightAmbient[8];
uniform vec3 uLightPosition[8];   // camera space
uniform vec3 uLightDirection[8];  // camera space, unit
uniform float uLightRange[8];
uniform vec3 uLightAttenuation[8];
uniform vec3 uLightSpot[8];  // cos(theta / 2), cos(phi / 2), falloff

uniform int uStageCount;
uniform int uCoordSource[8];  // 0 vertex set, 1 normal, 2 position, 3 reflection
uniform int uCoordSet[8];
uniform int uTransformKind[8];  // 0 none, 1 affine, 2 camera to world
uniform mat4 uTexMatrix[8];

out vec4 vDiffuse;
flat out vec4 vDiffuseFlat;
out vec3 vSpecular;
flat out vec3 vSpecularFlat;
out float vDepth;
out vec3 vCoords[8];

void main() {
    vec4 p = uWorldView * vec4(aPosition, 1.0);
    gl_Position = uProjection * p;
    vDepth = p.z;
    vec3 n = uNormalMatrix * aNormal;
    float nl = length(n);
    n = nl > 0.0 ? n / nl : n;

    vec4 diffuse = aColour;
    vec3 specular = vec3(0.0);
    if (uLighting) {
        vec4 md = uColourSource == 1 ? aColour : uMatDiffuse;
        vec3 ma = uColourSource == 1 ? aColour.rgb : uMatAmbient;
        vec3 me = uColourSource == 2 ? aColour.rgb : vec3(0.0);
        vec3 ambient = uAmbient, lit = vec3(0.0), shine = vec3(0.0);
        vec3 eye = -normalize(p.xyz);
        for (int i = 0; i < 8; ++i) {
            if (uLightType[i] == 0) continue;
            vec3 l;
            float factor = 1.0;
            if (uLightType[i] == 1) {
                l = -uLightDirection[i];
            } else {
                vec3 d = uLightPosition[i] - p.xyz;
                float dist = length(d);
                if (dist > uLightRange[i]) continue;
                l = dist > 0.0 ? d / dist : vec3(0.0, 0.0, -1.0);
                vec3 a = uLightAttenuation[i];
                factor = 1.0 / max(a.x + a.y * dist + a.z * dist * dist, 1e-20);
                if (uLightType[i] == 3) {
                    float rho = dot(uLightDirection[i], -l);
                    vec3 s = uLightSpot[i];
                    if (rho <= s.y) continue;
                    if (rho <= s.x) factor *= pow((rho - s.y) / (s.x - s.y), s.z);
                }
            }
            ambient += uLightAmbient[i] * factor;
            float d = max(dot(n, l), 0.0);
            lit += uLightDiffuse[i] * (d * factor);
            if (uSpecular && d > 0.0) {
                float h = max(dot(n, normalize(eye + l)), 0.0);
                shine += uLightSpecular[i] * (pow(h, uMatPower) * factor);
            }
        }
        diffuse = vec4(clamp(me + ma * ambient + md.rgb * lit, 0.0, 1.0), clamp(md.a, 0.0, 1.0));
        specular = clamp(uMatSpecular * shine, 0.0, 1.0);
    }
    vDiffuse = diffuse;
    vDiffuseFlat = diffuse;
    vSpecular = specular;
    vSpecularFlat = specular;

    vec3 pe = normalize(p.xyz);
    for (int i = 0; i < 8; ++i) {
        if (i >= uStageCount) break;
        vec3 c;
        if (uCoordSource[i] == 1) c = n;
        else if (uCoordSource[i] == 2) c = p.xyz;
        else if (uCoordSource[i] == 3) c = reflect(pe, n);
        else c = vec3(uCoordSet[i] == 1 ? aCoords1 : aCoords0, 0.0);
        if (uTransformKind[i] == 1) c = (uTexMatrix[i] * vec4(c, 1.0)).xyz;
        else if (uTransformKind[i] == 2) c = uCameraToWorld * c;
        vCoords[i] = c;
    }
}
)";

constexpr const char* kFragmentHead = R"(#version 330 core
in vec4 vDiffuse;
flat in vec4 vDiffuseFlat;
in vec3 vSpecular;
flat in vec3 vSpecularFlat;
in float vDepth;
in vec3 vCoords[8];

uniform bool uFlat;
uniform bool uSpecular;
uniform int uStageCount;
uniform int uColourOp[8];  // 1 blend texture alpha, 2 modulate, 3 add, 4 dot3, 5 modulate 2x, 6 texture
uniform int uAlphaOp[8];   // 0 modulate, 1 current, 2 texture
uniform bool uCube[8];
uniform sampler2D uTexture[8];
uniform samplerCube uCubeTexture[8];
uniform bool uFog;
uniform float uFogNear;
uniform float uFogFar;
uniform vec3 uFogColour;
uniform bool uAlphaTest;
uniform float uAlphaReference;

out vec4 fragColour;

vec4 combine(int i, vec4 t, vec4 cur) {
    vec3 c;
    int op = uColourOp[i];
    if (op == 1) c = mix(cur.rgb, t.rgb, t.a);
    else if (op == 3) c = min(t.rgb + cur.rgb, 1.0);
    else if (op == 4) c = vec3(clamp(4.0 * dot(t.rgb - 0.5, cur.rgb - 0.5), 0.0, 1.0));
    else if (op == 5) c = min(2.0 * t.rgb * cur.rgb, 1.0);
    else if (op == 6) c = t.rgb;
    else c = t.rgb * cur.rgb;
    float a = uAlphaOp[i] == 0 ? t.a * cur.a : uAlphaOp[i] == 2 ? t.a : cur.a;
    return vec4(c, a);
}

void main() {
    vec4 cur = uFlat ? vDiffuseFlat : vDiffuse;
)";

constexpr const char* kFragmentTail = R"(    if (uSpecular) cur.rgb = min(cur.rgb + (uFlat ? vSpecularFlat : vSpecular), 1.0);
    if (uFog) {
        float f = uFogFar == uFogNear ? 1.0 : clamp((uFogFar - vDepth) / (uFogFar - uFogNear), 0.0, 1.0);
        cur.rgb = mix(uFogColour, cur.rgb, f);
    }
    if (uAlphaTest && !(floor(cur.a * 255.0 + 0.5) > uAlphaReference)) discard;
    fragColour = cur;
}
)";

}  // namespace

std::string sceneVertexShaderSource() { return kVertexShader; }

std::string sceneFragmentShaderSource() {
    // Sampler arrays take constant indices only: one block per stage.
    std::string source = kFragmentHead;
    for (int i = 0; i < 8; ++i) {
        std::string n = std::to_string(i);
        source += "    if (uStageCount > " + n + ") cur = combine(" + n + ", uCube[" + n + "] ? texture(uCubeTexture[" + n +
                  "], vCoords[" + n + "]) : texture(uTexture[" + n + "], vCoords[" + n + "].xy), cur);\n";
    }
    return source + kFragmentTail;
}

}  // namespace tarsk
