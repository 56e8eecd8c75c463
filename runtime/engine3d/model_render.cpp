// The render data of models: captured and render alpha.
#include "runtime/engine3d/object_entity.h"

namespace tarsk {

void Model::capture() {
    ObjectEntity::capture();
    capturedAlpha = brush.alpha();
}

bool Model::beginRender(float tween) {
    ObjectEntity::beginRender(tween);
    float alpha = brush.alpha();
    renderAlpha = tween != 1 && captured && alpha != capturedAlpha ? capturedAlpha + tween * (alpha - capturedAlpha) : alpha;
    return renderAlpha > 0;
}

}  // namespace tarsk
