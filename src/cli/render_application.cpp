// The on-demand Qt application of zelkon-cli's drawing commands.
#include "cli/render_application.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdlib>
#include <memory>

namespace zelkon::cli {

void EnsureGuiApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // QGuiApplication keeps references to its arguments for its whole life.
    static int argc = 1;
    static char name[] = "zelkon-cli";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> application = std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace zelkon::cli
