// The options of opening a model as the tests ask for it: a start view and a drawing, z up,
// flying.
#pragma once

#include "viewer/ModelOpening.h"

inline OpenOptions Opening(StartView view, ModelDrawingStyle drawing) {
    OpenOptions options;
    options.view = view;
    options.drawing = drawing;
    return options;
}
