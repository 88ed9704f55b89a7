#pragma once
// The source tree the tests read from: the example circuits and the data files.

#include <QString>

namespace flow::test {

// CTest names the source tree in FLOW_SOURCE_DIR; run by hand, a test finds it from here.
QString SourceDirectory();
// The folder of the example circuits, and one of them by its file name.
QString ExamplesFolder();
QString Example(const QString& name);

} // namespace flow::test
