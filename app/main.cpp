#include "platform/Application.h"
#include "platform/HttpClient.h"
#include "ui/Glyphorama.h"

int main(int argc, char** argv) {
    platform::HttpClient::GlobalInit();
    platform::Application app(argc, argv);
    app.setApplicationName(QStringLiteral("glyphorama"));
    app.setApplicationDisplayName(QStringLiteral("Glyphorama2"));
    try {
        TGlyphorama window;
        window.show();
        app.exec();
    } catch (...) {
        app.ShowException(std::current_exception());
    }
    return 0;
}
