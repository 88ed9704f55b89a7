#pragma once
// The editor's settings, kept between starts for the user (where Qt keeps an application's).

#include <QSettings>

namespace flow {

QSettings EditorSettings();

} // namespace flow
