#pragma once
// What a written document is at its top: an image exporter must write exactly one <svg>.

#include <QString>
#include <QStringList>

namespace flow::test {

// The root element names of a well-formed document; empty when it is not well-formed.
QStringList RootElements(const QString& fileName);

} // namespace flow::test
