// The application's error handler: an exception escaping an event handler is shown and the
// program goes on.
#include "platform/Application.h"
#include "platform/Exceptions.h"
#include "platform/Messages.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

class Throwing : public QObject {
public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::Type(1124))
            throw platform::EConvertError(QStringLiteral("''x'' は整数ではありません"));
        return QObject::event(event);
    }
};

} // namespace

TEST(Application, ShowsAnEscapedErrorAndGoesOn) {
    auto* app = platform::Application::instance();
    ASSERT_NE(app, nullptr);
    QStringList shown;
    app->OnException = [&](const QString& message) { shown.append(message); };
    Throwing receiver;
    platform::PostMessage(&receiver, 1124, 0, 0);
    platform::PostMessage(&receiver, 1124, 0, 0);
    QCoreApplication::processEvents();
    app->OnException = nullptr;
    EXPECT_EQ(shown, QStringList({"''x'' は整数ではありません", "''x'' は整数ではありません"}));
}

TEST(Application, StrictIntegerConversion) {
    EXPECT_EQ(platform::StrToInt("42"), 42);
    EXPECT_EQ(platform::StrToInt("-7"), -7);
    EXPECT_EQ(platform::StrToInt("0x1F4"), 500);
    EXPECT_EQ(platform::StrToInt(" 12"), 12);
    for (const char* bad : {"", "12 ", "abc", "1.5", "0x", "99999999999"})
        EXPECT_THROW(platform::StrToInt(bad), platform::EConvertError) << bad;
    try {
        platform::StrToInt("abc");
    } catch (const platform::EConvertError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("''abc'' は整数ではありません"));
    }
}
