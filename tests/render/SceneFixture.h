#pragma once
// A circuit of its own for each test, a fresh editor state, and rendering into an image.

#include "editor/canvas/EditorState.h"
#include "model/Catalogue.h"
#include "model/Model.h"
#include "render/Redraw.h"

#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

#include <ostream>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}

namespace flow {

// CTest passes the source folder in the environment; run by hand, the test finds it from here.
inline QString SourceDirectory() {
    const QString source = qEnvironmentVariable("FLOW_SOURCE_DIR");
    return source.isEmpty() ? QFileInfo(__FILE__).absolutePath() + "/../.." : source;
}

inline QString Example(const QString& name) {
    return SourceDirectory() + "/examples/" + name;
}

class SceneFixture : public ::testing::Test {
  protected:
    SceneFixture() {
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
        RedrawCircuitInto(circuit, image);
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

    Circuit circuit;
};

} // namespace flow
