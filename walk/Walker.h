// walk/: walking through a model as a person does instead of flying over it. A body at human
// scale stands on the floor under it, climbs steps and ramps, falls through holes onto the next
// floor down (or the ground plane under the model's lowest point), crouches under low ceilings
// and passes through no face from either side at any speed, over an index of the model's faces
// built once when the model is opened (FaceIndex).
//
// Pure C++17: no GL and no platform calls. It reads the reader's Mesh list (scene/Model.h) and
// calls nothing else of the program; the camera calls Walker::Step once a frame.
//
// World units: z is up, a heading (yaw) of 0 looks along +y, forward is (sin yaw, cos yaw) and
// right is (cos yaw, -sin yaw), as the camera has them. The body's measures are in metres and
// reach the world through unitsPerMetre (world units in a metre).
#pragma once

#include "walk/Body.h"
#include "walk/CapsuleSweep.h"
#include "walk/FaceIndex.h"
#include "walk/Vector.h"

// The keys of one frame while walking.
struct WalkKeys {
    int forward = 0;      // 1: W or Up, -1: S or Down (0 for both)
    int right = 0;        // 1: D, -1: A
    bool fast = false;    // Shift: BodyMeasures::fastFactor times the pace
    bool jump = false;    // Page Up, held: a jump each time it goes down on a floor
    bool crouch = false;  // Page Down, held: crouching
};

class Walker {
public:
    // `groundHeight`: the ground plane, at the model's lowest point, that the body never falls
    // below (0 when it is not finite, as an empty index's box gives it). `unitsPerMetre`: world
    // units in a metre, positive. The index must outlive the walker.
    Walker(const FaceIndex& faces, double unitsPerMetre, double groundHeight,
           const BodyMeasures& body = {});

    // Puts the body down on the floor under `eye` (a file's camera, a flying eye): the first
    // floor below it, else the ground plane; crouching if there is no room to stand.
    void PutDown(const Vec3& eye);

    // One frame: the keys' move along the heading, at the walking pace, diagonals no faster.
    void Step(const WalkKeys& keys, double yawRadians);
    // One frame with the horizontal move given in world units (its z is ignored): Step's
    // core, for scripted walks and slow frames (a long move is swept like a short one).
    void Move(const Vec3& move, bool jump, bool crouch);

    Vec3 Eye() const { return feet_ + Vec3{0.0, 0.0, eyeHeight_}; }
    Vec3 Feet() const { return feet_; }
    bool OnFloor() const { return onFloor_; }
    bool Crouching() const { return crouching_; }
    // The body's radius and the pace of a frame's walk, in world units.
    double Radius() const { return radius_; }
    double WalkStep() const { return walkStep_; }

private:
    Capsule Body(const Vec3& feet, bool crouching) const;
    // The first contact of a body moving by `move`: with a face or, going down, the ground.
    Contact Sweep(const Capsule& body, const Vec3& move) const;
    bool Fits(const Capsule& body) const;
    // Moves the body, sliding along what it meets: with `level`, along walls and never up or
    // down; otherwise along walls and slopes too steep to stand on, and going down it stops on
    // a floor and says so in `landed`.
    Vec3 Slide(Vec3 feet, Vec3 move, bool crouching, bool level, bool* landed) const;
    // A walk on a floor: level, or lifted by a step first when that gets farther; `lift` says
    // how high it was lifted.
    Vec3 Stride(const Vec3& move, bool crouching, double& lift) const;
    void WalkOnFloor(const Vec3& move);
    void MoveInAir(const Vec3& move);

    const FaceIndex& faces_;
    double ground_;
    // The measures in world units, per frame.
    double radius_, stepHeight_, standingEye_, crouchingEye_, headroom_;
    double walkStep_, fastFactor_, jumpSpeed_, gravityStep_, terminalStep_, riseStep_;

    Vec3 feet_;
    double eyeHeight_;            // over the feet, rising towards the posture's
    double verticalSpeed_ = 0.0;  // per frame, up positive, while off the floor
    bool onFloor_ = false;
    bool crouching_ = false;
    bool jumpHeld_ = false;
};

// Where a walk starts without a camera: outside the model's box (in the world) on the ground
// plane under it, facing the middle of its longer side as the fitted view does, back from it by
// half that side, at least 3 m and at most 30 m. yawDegrees as the camera's.
struct WalkStart {
    Vec3 eye;
    double yawDegrees = 0.0;
};
WalkStart StartOutside(const Box3& modelBox, double unitsPerMetre, const BodyMeasures& body = {});
