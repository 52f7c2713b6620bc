// The model-view and projection matrices, their stacks, and which of the two the matrix calls
// change.
#pragma once

#include <vector>

#include "webgl11/Matrix4.h"

namespace webgl11 {

enum class MatrixMode { kModelView, kProjection };

class MatrixState {
public:
    // The depths OpenGL 1.1 promises at least, the current matrix included.
    static constexpr std::size_t kModelViewDepth = 32;
    static constexpr std::size_t kProjectionDepth = 2;

    void SetMode(MatrixMode mode) { mode_ = mode; }
    void LoadIdentity() { Current() = Matrix4{}; }
    // Multiplies the current matrix on the right, as glMultMatrix does.
    void MultiplyBy(const Matrix4& matrix) { Current() = Multiply(Current(), matrix); }
    // glPushMatrix and glPopMatrix on the current mode's stack. A push onto a full stack and a
    // pop of its last matrix change nothing, as in GL (which also flags a stack error).
    void Push() {
        std::vector<Matrix4>& stack = CurrentStack();
        if (stack.size() + 1 <
            (mode_ == MatrixMode::kModelView ? kModelViewDepth : kProjectionDepth)) {
            stack.push_back(Current());
        }
    }
    void Pop() {
        std::vector<Matrix4>& stack = CurrentStack();
        if (!stack.empty()) {
            Current() = stack.back();
            stack.pop_back();
        }
    }
    const Matrix4& ModelView() const { return modelView_; }
    const Matrix4& Projection() const { return projection_; }

private:
    Matrix4& Current() { return mode_ == MatrixMode::kModelView ? modelView_ : projection_; }
    // The matrices pushed under the current one.
    std::vector<Matrix4>& CurrentStack() {
        return mode_ == MatrixMode::kModelView ? modelViewStack_ : projectionStack_;
    }

    MatrixMode mode_ = MatrixMode::kModelView;
    Matrix4 modelView_;
    Matrix4 projection_;
    std::vector<Matrix4> modelViewStack_;
    std::vector<Matrix4> projectionStack_;
};

}  // namespace webgl11
