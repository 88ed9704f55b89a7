#pragma once
// A circuit of its own for each test, a fresh editor state, and rendering into an image.

#include "editor/canvas/EditorState.h"
#include "engine/RunSession.h"
#include "model/Catalogue.h"
#include "model/Model.h"
#include "render/Palette.h"
#include "render/Redraw.h"
#include "render/StatusText.h"

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
        ResetEditorState();
        circuit.MainFrame.Owner = &circuit;
        circuit.Magnification = 1.0f;
    }
    ~SceneFixture() override {
        ResetEditorState();
        AddNode(nullptr, nullptr, nullptr); // nothing left pending for the next test
    }

    QImage Render(int width = 800, int height = 600) {
        QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
        image.fill(0xFFFF00FF);
        RedrawCircuitInto(circuit, image, &run);
        return image;
    }

    void Zoom(float level) {
        circuit.ZoomLevel = level;
        circuit.Magnification = std::exp2(level);
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
            circuit.StatusFields[std::size_t(StatusField::Hover)] = hoverField_;
            circuit.StatusLine = statusBar_.get();
        }
        return *hoverField_;
    }

    Circuit circuit;

    // The run whose state and values the pictures show; it never runs unless a test says so.

    RunSession run{circuit};

  private:
    std::unique_ptr<QStatusBar> statusBar_;
    QLabel* hoverField_ = nullptr;
};

} // namespace flow::test
