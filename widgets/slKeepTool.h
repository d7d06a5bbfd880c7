#pragma once

namespace vd {

// Keeps a canvas's pen, brush or font as it was when the scope ends: the drawing routines leave
// the canvas as they found it. GUI thread.
template <class T>
class KeepTool {
public:
    explicit KeepTool(T& object) : object_(object) { saved_.Assign(&object); }
    ~KeepTool() { object_.Assign(&saved_); }
    KeepTool(const KeepTool&) = delete;
    KeepTool& operator=(const KeepTool&) = delete;

private:
    T& object_;
    T saved_;
};

} // namespace vd
