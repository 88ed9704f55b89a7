#pragma once
// The question before a file the user may still want is written over: No is the answer that
// Enter gives.

#include <QString>

class QWidget;

namespace flow {

// Asks the question in a box titled `boxTitle`; true when the user says Yes.
bool AskToReplace(QWidget* parent, const QString& boxTitle, const QString& question);

// Whether the file may be written: true when nothing but a new file would take the name, else
// the user is asked "“name” already exists. Replace it?". Names of what is no regular file are
// left to the writer, which refuses them with its own message.
bool MayReplaceFile(QWidget* parent, const QString& boxTitle, const QString& fileName);

} // namespace flow
