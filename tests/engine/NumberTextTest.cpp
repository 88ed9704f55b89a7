#include "engine/NumberText.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <optional>
#include <string>

using namespace flow;

namespace {

// Puts back, however the test ends, the locale search path and the locale it changes: the
// tests after it in this process must not run in its locale.
class LocaleChange {
  public:
    LocaleChange() : locale_(std::setlocale(LC_ALL, nullptr)) {
        if (qEnvironmentVariableIsSet("LOCPATH")) path_ = qgetenv("LOCPATH");
    }
    ~LocaleChange() {
        if (path_)
            qputenv("LOCPATH", *path_);
        else
            qunsetenv("LOCPATH");
        std::setlocale(LC_ALL, locale_.c_str());
    }
    LocaleChange(const LocaleChange&) = delete;
    LocaleChange& operator=(const LocaleChange&) = delete;

  private:
    std::string locale_;
    std::optional<QByteArray> path_;
};

} // namespace

// The editor runs in the user's locale; numbers in files and printed output must still use ".".
TEST(NumberTextTest, DecimalCommaLocaleChangesNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray command = "localedef -i de_DE -f UTF-8 '" + dir.path().toLocal8Bit() +
                               "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(command.constData()) != 0) GTEST_SKIP() << "cannot make a de_DE locale here";
    const LocaleChange restore;
    qputenv("LOCPATH", dir.path().toLocal8Bit());
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE locale not usable";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 2.5);
    EXPECT_STREQ(probe, "2,5"); // the locale really is in force

    EXPECT_EQ(FormatReal(2.5, 6, "e"), "2.5");
    EXPECT_EQ(FormatReal(-0.000123, 6, "e"), "-1.23e-4");
    EXPECT_EQ(ParseReal("2.5"), 2.5);
    EXPECT_EQ(ParseReal("1e3"), 1000.0);
}
