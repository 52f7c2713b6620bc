// The model-view and projection matrices and which of the two the matrix calls change.
#pragma once

#include "webgl11/Matrix4.h"

namespace webgl11 {

enum class MatrixMode { kModelView, kProjection };

class MatrixState {
public:
    void SetMode(MatrixMode mode) { mode_ = mode; }
    void LoadIdentity() { Current() = Matrix4{}; }
    // Multiplies the current matrix on the right, as glMultMatrix does.
    void MultiplyBy(const Matrix4& matrix) { Current() = Multiply(Current(), matrix); }
    const Matrix4& ModelView() const { return modelView_; }
    const Matrix4& Projection() const { return projection_; }

private:
    Matrix4& Current() { return mode_ == MatrixMode::kModelView ? modelView_ : projection_; }

    MatrixMode mode_ = MatrixMode::kModelView;
    Matrix4 modelView_;
    Matrix4 projection_;
};

}  // namespace webgl11
