#pragma once

// A skinned window for tests, as the main window builds one: a form, its skin store and its skin
// surface; graphics made in code; and the real skin block read from the source tree.

#include "framework/Forms.h"
#include "framework/Stream.h"
#include "skin/VsComposer.h"
#include "skin/VsSkin.h"
#include "tests/support/CountingSkin.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/PixelProbe.h"
#include "tests/support/SourceFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vd::test {

// The colour of pixel (x, y) inside the border of Background() below.
inline TColor BackgroundPixel(int x, int y) {
    return RGB(static_cast<unsigned>(x) & 0xFF, static_cast<unsigned>(y) & 0xFF,
               60 + static_cast<unsigned>(x >> 8));
}

// A background whose every pixel tells where it is (so a copy of it shows where it came from),
// with a `border` of mask colour around it.
inline TBitmap Background(int width, int height, int border = 0) {
    TBitmap b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool edge =
                x < border || y < border || x >= width - border || y >= height - border;
            b.Canvas().SetPixel(x, y, edge ? clFuchsia : BackgroundPixel(x, y));
        }
    return b;
}

// The fixture: a form with a store and a counting surface on it; the surface shows nothing yet.
class SkinWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartGui();
        form_ = MakeUnowned<TForm>();
        composer_ = new TVsComposer(form_.get()); // owned by the form
        skin_ = new CountingSkin(form_.get());    // owned by the form
        skin_->SetParent(form_.get());
    }
    void TearDown() override {
        // End any window drag a press on the surface started.
        form_->EndManualDrag();
        form_.reset();
    }

    // Adds a named graphic to the store; returns its index.
    int32_t AddGraphic(const std::string& name, const TBitmap& bitmap) {
        TVsGraphic g;
        g.SetName(name);
        g.Bitmap().Assign(&bitmap);
        return composer_->Graphics().Add(&g);
    }
    // Shows `name` (added with `bitmap`) as the window's background, cut by `mask`.
    void UseBackground(const std::string& name, const TBitmap& bitmap, TColor mask = clFuchsia) {
        AddGraphic(name, bitmap);
        skin_->SetComposer(composer_);
        skin_->SetMaskColor(mask);
        skin_->SetGraphicName(name);
        skin_->Update();
    }
    QWidget* W() const { return skin_->Widget(); }
    // The window's picture once everything waiting to be painted is painted, as the window
    // system would have it painted before showing it.
    [[nodiscard]] const QImage& Picture() const {
        skin_->Update();
        return skin_->Picture();
    }
    [[nodiscard]] TColor Shown(int x, int y) const { return PixelOf(Picture(), x, y); }
    // Shows the form and lets the window system paint it, so that repaints of one control can be
    // done opaquely (they are only while the control is showing).
    void ShowWindow() {
        form_->Show();
        TApplication::ProcessMessages();
        skin_->Update();
    }

    ComponentPtr<TForm> form_;
    TVsComposer* composer_ = nullptr;
    CountingSkin* skin_ = nullptr;
};

} // namespace vd::test
