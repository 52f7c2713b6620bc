// Walking through an opened model as a person does: a body at human scale (walk/) over an index
// of the model's faces, built when the model opens, moved by the camera's keys while walking.
// Flying is the walk-through's own camera; G switches between them.
#pragma once

#include <exception>
#include <memory>
#include <string>
#include <thread>

#include "drawing/MaterialBatches.h"
#include "placement/ModelPlacement.h"
#include "placement/ModelUnits.h"
#include "scene/Scene.h"
#include "walk/FaceIndex.h"
#include "walk/Walker.h"
#include "walk/WorldFaces.h"

class ModelWalk {
public:
    // The faces of the model where `placement` puts them in the world, whose units are `unit`
    // (drawn units: the file's times the master scale): read where `laidOut` holds them, once
    // each, or else in the scene's meshes. What they are read in must stay as it is as long as
    // this walk lives. With `indexAhead` the faces are indexed now: laid-out faces on a thread
    // of their own, while the first frames fly (walking waits for the index); else when first
    // walked among (a run that may never walk builds no index).
    ModelWalk(const Scene& scene, const Placement& placement, LengthUnit unit,
              const MaterialBatches* laidOut = nullptr, bool indexAhead = true);
    ~ModelWalk();
    ModelWalk(const ModelWalk&) = delete;
    ModelWalk& operator=(const ModelWalk&) = delete;

    bool Walking() const { return walking_; }
    // Starts walking: the body put down on the floor under the scene's eye.
    void WalkFromEye(Scene& scene);
    // Starts walking outside the model on the ground, facing it.
    void WalkFromOutside(Scene& scene);
    // Flies from where the body stands, with the walk-through's own camera.
    void Fly() { walking_ = false; }

    // One walking frame: the camera turns as when flying, the keys walk the body (Page Up
    // jumps, Page Down crouches), and the eye goes where the body's eye is.
    void Move(Scene& scene);

    LengthUnit Unit() const { return unit_; }
    const Walker& Body() { return Indexed().walker; }
    std::size_t IndexBytes() { return Indexed().index.Bytes(); }

private:
    struct Index {
        FaceIndex index;
        Walker walker;
        Index(const WorldFaces& faces, double unitsPerMetre);
    };
    // The index and the body over it, once built.
    Index& Indexed();
    // The scene's eye and look-at point from the body's eye; flying goes on from there.
    void TakeEye(Scene& scene);

    LengthUnit unit_;
    double unitsPerMetre_;  // world units in a metre
    WorldFaces faces_;
    std::unique_ptr<Index> index_;
    std::thread indexing_;
    std::exception_ptr failure_;
    bool walking_ = false;
};
