#include "walk/Walker.h"

#include <cmath>

namespace {

// A face whose normal rises at least this steeply (slopes up to about 53 degrees) is a floor;
// on a steeper one the body slides down.
constexpr double kFloorNormal = 0.6;
// Of the radius: moves and gaps shorter than this are nothing.
constexpr double kNegligible = 1e-9;
// Of the radius: a body may touch faces, and reach into them by this much, and still fit.
constexpr double kFitTolerance = 1e-6;
constexpr int kSlides = 4;

Vec3 Level(const Vec3& v) {
    return {v.x, v.y, 0.0};
}

}  // namespace

Walker::Walker(const FaceIndex& faces, double unitsPerMetre, double groundHeight,
               const BodyMeasures& body)
    : faces_(faces), ground_(std::isfinite(groundHeight) ? groundHeight : 0.0) {
    const double perFrame = 1.0 / body.framesPerSecond;
    radius_ = body.radius * unitsPerMetre;
    stepHeight_ = body.stepHeight * unitsPerMetre;
    standingEye_ = body.eyeHeight * unitsPerMetre;
    crouchingEye_ = body.crouchEyeHeight * unitsPerMetre;
    headroom_ = body.headroom * unitsPerMetre;
    walkStep_ = body.walkSpeed * perFrame * unitsPerMetre;
    fastFactor_ = body.fastFactor;
    jumpSpeed_ = std::sqrt(2.0 * body.gravity * body.jumpHeight) * perFrame * unitsPerMetre;
    gravityStep_ = body.gravity * perFrame * perFrame * unitsPerMetre;
    terminalStep_ = body.terminalSpeed * perFrame * unitsPerMetre;
    riseStep_ = body.riseSpeed * perFrame * unitsPerMetre;
    eyeHeight_ = standingEye_;
    feet_ = {0.0, 0.0, ground_};
}

Capsule Walker::Body(const Vec3& feet, bool crouching) const {
    const double top = (crouching ? crouchingEye_ : standingEye_) + headroom_;
    return {feet + Vec3{0.0, 0.0, radius_}, feet + Vec3{0.0, 0.0, top - radius_}, radius_};
}

Contact Walker::Sweep(const Capsule& body, const Vec3& move) const {
    Contact first;
    Box3 reach = body.Bounds();
    reach.Add(body.Moved(move).Bounds());
    faces_.ForEachFaceNear(reach.Grown(kFitTolerance * radius_), [&](const Vec3* triangle) {
        SweepCapsule(body, move, triangle, first);
    });
    const double aboveGround = body.bottom.z - body.radius - ground_;
    if (move.z < 0.0 && aboveGround < -move.z * first.time) {
        first = {std::max(aboveGround, 0.0) / -move.z, true, {0.0, 0.0, 1.0}, {0.0, 0.0, 1.0}};
    }
    return first;
}

bool Walker::Fits(const Capsule& body) const {
    bool fits = body.bottom.z - body.radius >= ground_ - kFitTolerance * radius_;
    faces_.ForEachFaceNear(body.Bounds(), [&](const Vec3* triangle) {
        fits = fits && Clearance(body, triangle) > -kFitTolerance * radius_;
    });
    return fits;
}

Vec3 Walker::Slide(Vec3 feet, Vec3 move, bool crouching, bool level, bool* landed) const {
    Vec3 previous;
    for (int slide = 0; slide < kSlides && Length(move) > kNegligible * radius_; ++slide) {
        const Contact contact = Sweep(Body(feet, crouching), move);
        feet = feet + move * contact.time;
        if (!contact.hit) {
            break;
        }
        Vec3 normal = contact.normal;
        if (!level && contact.faceNormal.z >= kFloorNormal && move.z < 0.0) {
            *landed = true;
            break;
        }
        if (level) {
            // Walls turn a walk aside, never up or down: slide along the face's level normal.
            normal = Level(normal);
            if (Length(normal) < kNegligible) {
                break;
            }
            normal = normal * (1.0 / Length(normal));
        }
        move = move * (1.0 - contact.time);
        move = move - normal * Dot(move, normal);
        if (Dot(move, previous) < 0.0) {
            // Back into the face met before: along the crease of the two, if anywhere.
            Vec3 crease = Cross(previous, normal);
            const double length = Length(crease);
            if (level || length < kNegligible) {
                break;
            }
            crease = crease * (1.0 / length);
            move = crease * Dot(move, crease);
        }
        previous = normal;
    }
    return feet;
}

Vec3 Walker::Stride(const Vec3& move, bool crouching, double& lift) const {
    lift = 0.0;
    const Vec3 level = Slide(feet_, move, crouching, true, nullptr);
    const Vec3 wanted = feet_ + move;
    if (Length(level - wanted) <= kNegligible * radius_) {
        return level;
    }
    // Up a step first (as far as the ceiling lets), then the same move.
    bool landed = false;
    const Vec3 raised = Slide(feet_, {0.0, 0.0, stepHeight_}, crouching, false, &landed);
    const Vec3 lifted = Slide(raised, move, crouching, true, nullptr);
    if (Dot(lifted - raised, move) > Dot(level - feet_, move)) {
        lift = raised.z - feet_.z;
        return lifted;
    }
    return level;
}

void Walker::WalkOnFloor(const Vec3& move) {
    double lift = 0.0;
    if (Length(move) > kNegligible * radius_) {
        Vec3 to = Stride(move, crouching_, lift);
        if (!crouching_ && Dot(to - feet_, move) < Dot(move, move) * (1.0 - kNegligible)) {
            // Held back: under a low ceiling or beam, crouch and go on.
            double crouchedLift = 0.0;
            const Vec3 crouched = Stride(move, true, crouchedLift);
            if (Dot(crouched - feet_, move) > Dot(to - feet_, move) + 0.1 * Dot(move, move)) {
                crouching_ = true;
                to = crouched;
                lift = crouchedLift;
            }
        }
        feet_ = to;
    }
    // Down onto the floor: a step below where the walk started, or it is a fall. Sliding, as
    // a wall that leans by a rounding error must not hold the body up.
    bool landed = false;
    feet_ = Slide(feet_, {0.0, 0.0, -(lift + stepHeight_)}, crouching_, false, &landed);
    onFloor_ = landed;
    verticalSpeed_ = 0.0;
}

void Walker::MoveInAir(const Vec3& move) {
    feet_ = Slide(feet_, move, crouching_, true, nullptr);
    verticalSpeed_ = std::max(verticalSpeed_ - gravityStep_, -terminalStep_);
    const double rise = verticalSpeed_;
    const double before = feet_.z;
    bool landed = false;
    feet_ = Slide(feet_, {0.0, 0.0, rise}, crouching_, false, &landed);
    if (landed || (rise > 0.0 && feet_.z - before < rise * (1.0 - kNegligible))) {
        verticalSpeed_ = 0.0;  // on a floor, or the head met a ceiling
    }
    onFloor_ = landed;
}

void Walker::Move(const Vec3& move, bool jump, bool crouch) {
    if (crouch) {
        crouching_ = true;
    } else if (crouching_ && Fits(Body(feet_, false))) {
        crouching_ = false;
    }
    if (onFloor_ && jump && !jumpHeld_) {
        onFloor_ = false;
        verticalSpeed_ = jumpSpeed_;
    }
    jumpHeld_ = jump;
    if (onFloor_) {
        WalkOnFloor(Level(move));
    } else {
        MoveInAir(Level(move));
    }
    // The body's shape changes at once. The eye drops with it, as it would otherwise be above
    // the head and could see through a low ceiling; standing up, it rises gently.
    const double eye = crouching_ ? crouchingEye_ : standingEye_;
    eyeHeight_ = std::min(eye, eyeHeight_ + riseStep_);
}

void Walker::Step(const WalkKeys& keys, double yawRadians) {
    const Vec3 forward{std::sin(yawRadians), std::cos(yawRadians), 0.0};
    const Vec3 right{std::cos(yawRadians), -std::sin(yawRadians), 0.0};
    Vec3 direction = forward * keys.forward + right * keys.right;
    const double length = Length(direction);
    if (length > 1.0) {
        direction = direction * (1.0 / length);
    }
    const double pace = walkStep_ * (keys.fast ? fastFactor_ : 1.0);
    Move(direction * pace, keys.jump, keys.crouch);
}

void Walker::PutDown(const Vec3& eye) {
    // A ball the body's width dropped from the eye finds the floor its feet will stand on.
    const Capsule ball{eye, eye, radius_};
    const Vec3 drop{0.0, 0.0, std::min(ground_ + radius_ - eye.z, 0.0)};
    const Contact floor = Sweep(ball, drop);
    feet_ = eye + drop * floor.time - Vec3{0.0, 0.0, radius_};
    feet_.z = std::max(feet_.z, ground_);
    onFloor_ = (floor.hit && floor.faceNormal.z >= kFloorNormal) || feet_.z <= ground_;
    verticalSpeed_ = 0.0;
    crouching_ = !Fits(Body(feet_, false));
    eyeHeight_ = crouching_ ? crouchingEye_ : standingEye_;
}

WalkStart StartOutside(const Box3& modelBox, double unitsPerMetre, const BodyMeasures& body) {
    WalkStart start;
    if (modelBox.Empty()) {
        start.eye = {0.0, 0.0, body.eyeHeight * unitsPerMetre};
        return start;
    }
    const Vec3 size = modelBox.max - modelBox.min;
    const Vec3 centre = (modelBox.min + modelBox.max) * 0.5;
    const bool facingMinusY = size.x >= size.y;
    const double side = std::max(size.x, size.y);
    const double back = std::min(std::max(0.5 * side, 3.0 * unitsPerMetre), 30.0 * unitsPerMetre);
    const double eyeZ = modelBox.min.z + body.eyeHeight * unitsPerMetre;
    if (facingMinusY) {
        start.eye = {centre.x, modelBox.max.y + back, eyeZ};
        start.yawDegrees = 180.0;
    } else {
        start.eye = {modelBox.max.x + back, centre.y, eyeZ};
        start.yawDegrees = 270.0;
    }
    return start;
}
