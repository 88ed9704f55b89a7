#pragma once
// The modes of the flowlattice command line. Each returns the process's exit status:
// 0 success, 1 the circuit has a defect, 2 unusable arguments or unreadable / unwritable file,
// 3 some nodes could never fire.

#include <QString>

namespace flow {

int RunCommand(const QString& file);
int ResaveCommand(const QString& in, const QString& out);
// scale: image pixels per canvas pixel (the device pixel ratio the picture is drawn at).
int RenderCommand(const QString& file, const QString& png, int width, int height, double scale);
int StartEditor(int argc, char** argv);

struct Circuit;
// Loads a circuit for a headless mode. Says on stderr why a file cannot be read (the caller then
// exits with 2), and warns when the file stops being well-formed XML part way.
Circuit* LoadForCommand(const QString& file);

} // namespace flow
