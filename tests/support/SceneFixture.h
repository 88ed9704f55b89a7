#pragma once
// A circuit of its own for each test with a view of its own, and rendering into an image.

#include "editor/canvas/CanvasRedraw.h"
#include "editor/canvas/HitTestPass.h"
#include "editor/canvas/OpenViews.h"
#include "editor/window/StatusText.h"
#include "engine/BuiltInFunctions.h"
#include "engine/RunSession.h"
#include "model/Catalogue.h"
#include "model/Model.h"
#include "render/Palette.h"
#include "render/Redraw.h"

#include <QImage>
#include <QLabel>
#include <QStatusBar>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <ostream>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}

namespace flow::test {

class SceneFixture : public ::testing::Test {
  protected:
    SceneFixture() {
        // Whichever test program runs the scene: what drawing needs is there.
        RegisterCatalogue();
        SetupPalette();
        circuit.MainFrame.Owner = &circuit;
        view.Run = &run;
        ListView(view);
    }
    ~SceneFixture() override { UnlistView(view); }

    QImage Render(int width = 800, int height = 600) {
        QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
        image.fill(0xFFFF00FF);
        RedrawViewInto(view, image); // as a window's canvas redraws
        return image;
    }

    void Zoom(float level) {
        view.ZoomLevel = level;
        view.Magnification = std::exp2(level);
    }

    Node* Add(const QString& function, Int x, Int y, Implementation* implementation = nullptr) {
        Node* node = AddNode(&circuit.MainFrame, FindFunction(function), implementation);
        node->X = x;
        node->Y = y;
        return node;
    }

    // The status bar field a window shows hover texts in, given to the circuit on first use.
    QLabel& HoverField() {
        if (!statusBar_) {
            statusBar_ = std::make_unique<QStatusBar>();
            hoverField_ = new QLabel(statusBar_.get());
            view.StatusFields[std::size_t(StatusField::Hover)] = hoverField_;
            view.StatusLine = statusBar_.get();
        }
        return *hoverField_;
    }

    Circuit circuit;
    // The view a window would hold, listed as a window lists its own.
    CircuitView view{circuit};

    // The run whose state and values the pictures show; it never runs unless a test says so.
    RunSession run{circuit};

  private:
    std::unique_ptr<QStatusBar> statusBar_;
    QLabel* hoverField_ = nullptr;
};

} // namespace flow::test
