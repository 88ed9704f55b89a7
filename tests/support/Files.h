#pragma once
// Files on disk as tests write and read them: whole, as bytes, with nothing added or left out.

#include <QString>

#include <string>
#include <string_view>

namespace flow::test {

// The file's bytes; empty when it cannot be read.
std::string ReadBytes(const QString& fileName);
// Replaces the file's content by the bytes; false when the file cannot be written.
bool WriteBytes(const QString& fileName, std::string_view bytes);
// Adds the bytes at the end of the file, which is made when missing: a large file written in
// pieces is never held whole by the test.
bool AppendBytes(const QString& fileName, std::string_view bytes);

} // namespace flow::test
