#pragma once
// The modes of the flowlattice command line. Each returns the process's exit status:
// 0 success, 1 the circuit has a defect, 2 unusable arguments or unreadable / unwritable file,
// 3 some nodes could never fire.

#include <QString>

namespace flow {

int RunCommand(const QString& file);
int ResaveCommand(const QString& in, const QString& out);
// Draws the circuit to a PNG, or an SVG when the output name ends in ".svg". scale: image pixels
// per canvas pixel (the device pixel ratio the picture is drawn at); with fit, the view shows the
// whole circuit instead of the saved camera.
int RenderCommand(const QString& file, const QString& output, int width, int height, double scale,
                  bool fit);
int StartEditor(int argc, char** argv);

struct Circuit;
// Loads a circuit for a headless mode. Says on stderr why a file cannot be read (the caller then
// exits with 2), and warns when the file stops being well-formed XML part way.
Circuit* LoadForCommand(const QString& file);

} // namespace flow
