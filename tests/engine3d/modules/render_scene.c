/* A lit, textured scene in a 320 x 240 window, shown for a few seconds (for a screenshot):
 * a sky-blue clear, a red cube turned towards a white light, a green sphere behind it,
 * a half-transparent yellow cube in front and a 2D caption drawn after RenderWorld. */
#include "../../host/modules/common.h"

void __MAIN(void) {
    _fgraphics3d(320, 240, 0, 2);
    int32_t camera = _fcreatecamera(0);
    _fcameraclscolor(camera, 100, 150, 220);
    _fpositionentity(camera, 0, 1, -6, 0);
    _fturnentity(camera, 10, 0, 0, 0);
    int32_t light = _fcreatelight(1, 0);
    _fturnentity(light, 45, 30, 0, 0);
    _fambientlight(60, 60, 60);
    int32_t cube = _fcreatecube(0);
    _fentitycolor(cube, 220, 40, 40);
    _fturnentity(cube, 20, 35, 0, 0);
    int32_t sphere = _fcreatesphere(24, 0);
    _fentitycolor(sphere, 40, 200, 60);
    _fentityshininess(sphere, 0.6f);
    _fpositionentity(sphere, 2.2f, 0.5f, 3, 0);
    int32_t glass = _fcreatecube(0);
    _fentitycolor(glass, 255, 230, 0);
    _fentityalpha(glass, 0.5f);
    _fscaleentity(glass, 0.6f, 0.6f, 0.6f, 0);
    _fpositionentity(glass, -1.6f, -0.3f, -1.5f, 0);
    _frenderworld(1);
    _fcolor(255, 255, 255);
    _frect(8, 8, 120, 14, 1);
    _fflip(1);
    logInt("triangles=", _ftrisrendered());
    _fdelay(4000);
}
