// GUI tests of the editor: real windows on the offscreen platform.

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Settings the editor keeps (the recent files) go to a scratch place, not the user's, and
    // one of this process's own: CTest runs this program twice at once (at two scale factors).
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    // Recovery copies too.
    qputenv("XDG_STATE_HOME", QFile::encodeName(settings.filePath(QStringLiteral("state"))));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
