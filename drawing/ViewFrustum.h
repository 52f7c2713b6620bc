// What a frame can show: the six planes of its view volume, in the coordinates the model is
// drawn in, for leaving out parts that lie wholly outside. No GL here.
#pragma once

class ViewFrustum {
public:
    // From the projection and model-view matrices, column by column as GL keeps them.
    ViewFrustum(const double projection[16], const double modelView[16]);

    // Whether nothing in the box can reach the picture: all of it lies beyond one plane, by more
    // than the rounding of the driver's single-precision transform could bring back. Any doubt
    // draws the box.
    bool Excludes(const float min[3], const float max[3]) const;

private:
    // a, b, c, d of a x + b y + c z + d >= 0 inside.
    double planes_[6][4];
};
